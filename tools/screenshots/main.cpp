// skerrin-screenshots: renders every page of the sheet (the five-page and
// the three-page set), the two tray icons and the help window to PNG files,
// offscreen, on the simulated card in a private world folder.
//
//   skerrin-screenshots <output folder>
#include "app/TrayIcon.h"
#include "device/CardLibraryLoader.h"
#include "device/HostState.h"
#include "device/HostUi.h"
#include "device/PollingThread.h"
#include "device/VirtualClock.h"
#include "pages/ConfigUtility.h"
#include "platform/Help.h"
#include "platform/ModulePath.h"
#include "res/ControlIds.h"
#include "res/Strings.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace {

// The polling thread's start runs here on the main thread; its requests to
// the tray and the sheet have nothing to act on.
class NoHostUi final : public HostUi {
public:
    void ModifyIconAtTaskbar(int) override {}
    void EndSheetModal(int) override {}
    void ShowMessage(int) override {}
    void AdjustPagesByXPWZC(int) override {}
};

void Settle(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

bool Save(QWidget* widget, const QString& path) {
    const bool saved = widget->grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skerrin-screenshots <output folder>\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir world;
    setenv("TAVL_SIM_HOME", qPrintable(world.path()), 1);
    unsetenv("TAVL_SIM_JOURNAL");
    QApplication::setWindowIcon(CTrayIcon::IconImage(128));

    std::string error;
    auto library = LoadCardLibrary(ModuleDirectory() + "/" + kCardLibraryFileName, error);
    if (!error.empty()) {
        std::fprintf(stderr, "skerrin-screenshots: %s\n", error.c_str());
        return 1;
    }
    library->Init("Pelkor", 0);
    gOsClass = kOsNt51;

    VirtualClock clock;
    CConfigUtility sheet(QString::fromLatin1(kAppTitle), *library, clock);
    NoHostUi ui;
    CPollingThread polling(*library, sheet.state, ui, clock);
    polling.RunStart();
    gDevicePresent = 1;

    bool ok = true;
    const char* names[] = {"link-info", "configuration", "site-survey", "encryption", "about"};
    sheet.Open();
    auto* tabs = sheet.findChild<QTabWidget*>(QStringLiteral("tabs"));
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
        tabs->setCurrentIndex(i);
        if (i == 2) {
            // Site Survey: search, and show the list once the scan is read.
            if (auto* search = sheet.m_SiteSurveyPage.findChild<QPushButton*>(
                    QString::number(SiteSurveyControls::kSearchButton))) {
                if (search->isVisible()) {
                    search->click();
                }
            }
            Settle(3500);
        } else {
            Settle(300);
        }
        ok &= Save(&sheet, out + QStringLiteral("/page-%1.png").arg(QLatin1String(names[i])));
    }
    sheet.EndModal(2);
    sheet.AfterClose();

    // The three-page set of the network service's management.
    sheet.RemovePage(&sheet.m_ConfigPage);
    sheet.RemovePage(&sheet.m_EncryptionPage);
    sheet.Open();
    Settle(300);
    ok &= Save(&sheet, out + QStringLiteral("/sheet-three-pages.png"));
    sheet.EndModal(2);
    sheet.AfterClose();

    for (int icon : {186, 187}) {
        const QString path = out + QStringLiteral("/tray-%1.png").arg(icon);
        const bool saved = CTrayIcon::IconImage(icon).pixmap(48, 48).save(path);
        std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
        ok &= saved;
    }

    ShowHelpContext(102);
    Settle(200);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QStringLiteral("helpWindow")) {
            ok &= Save(window, out + QStringLiteral("/help-window.png"));
            window->close();
        }
    }

    library->Terminate();
    return ok ? 0 : 1;
}
