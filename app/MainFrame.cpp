#include "app/MainFrame.h"

#include "app/DeviceEvents.h"
#include "app/QueuedHostUi.h"
#include "app/SheetShow.h"
#include "app/TrayIcon.h"
#include "app/UiRequestQueue.h"
#include "app/WindowCloseExit.h"
#include "app/ZeroConfigPages.h"
#include "device/AccessHandshake.h"
#include "device/CardLibraryLoader.h"
#include "device/HostState.h"
#include "device/HostUi.h"
#include "device/OsClass.h"
#include "device/PollingThread.h"
#include "device/RegulatoryDomain.h"
#include "device/Rssi.h"
#include "pages/ConfigUtility.h"
#include "platform/LogindMonitor.h"
#include "platform/MessageBox.h"
#include "platform/MessageServer.h"
#include "platform/ModulePath.h"
#include "platform/OsVersionSource.h"
#include "platform/TerminationSignals.h"
#include "platform/UdevMonitor.h"
#include "platform/WaitWithMessages.h"
#include "res/Strings.h"
#include "support/Trace.h"

#include <QCoreApplication>
#include <QSystemTrayIcon>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

// The identity the utility opens the card library with.
constexpr const char* kLibraryIdentity = "Pelkor";
// Pause after opening the library, before the frame is ready.
constexpr unsigned long kCreatePauseMs = 500;

// Whether the desktop has a notification area. "SKERRIN_TRAY_AVAILABLE=1"
// stands in for one where the platform offers none (the offscreen platform
// the process figures are measured on).
bool NotificationAreaAvailable() {
    static const bool assumed =
        qEnvironmentVariable("SKERRIN_TRAY_AVAILABLE") == QLatin1String("1");
    return assumed || QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace

CMainFrame::CMainFrame()
    : settingsPath_(SettingsPathFor(ModuleFileName())), trayAvailable_(NotificationAreaAvailable) {
    ReadDomainSettings(settingsPath_);
}

CMainFrame::~CMainFrame() {
    if (polling_) {
        gThreadExit = 1;
        clock_.Interrupt();
        polling_->Stop();
    }
}

void CMainFrame::ReportStartFailure(const std::string& reason) {
    std::fprintf(stderr, "skerrin: %s\n", reason.c_str());
    TraceOut("%s", reason.c_str());
    AppMessageBox(nullptr, QString::fromLocal8Bit(reason), MsgButtons::Ok, MsgIcon::Exclamation);
}

bool CMainFrame::Create(const std::string& libraryPath) {
    const OsClassification os = ClassifyOs(CurrentOsVersion());
    gOsClass = os.osClass;
    gWinMe = os.winMe;

    // Without its card library the utility can do nothing for the user: it
    // says why once and ends, rather than run with no icon and no window.
    std::string error;
    library_ = LoadCardLibrary(
        libraryPath.empty() ? ModuleDirectory() + "/" + kCardLibraryFileName : libraryPath, error);
    if (!error.empty()) {
        ReportStartFailure(error);
        return false;
    }

    sheet_ = std::make_unique<CConfigUtility>(QString::fromLatin1(kAppTitle), *library_, clock_);
    pages_ = std::make_unique<CZeroConfigPages>(*library_, *sheet_);
    show_ = std::make_unique<CSheetShow>(
        *sheet_, *pages_, [](std::uint32_t ms) { WaitWithMessages(ms); },
        [this] { return !exiting_; });
    tray_ = new CTrayIcon([this](int id) { OnCommand(id); }, [this] { OnTrayDoubleClick(); }, this);
    deviceEvents_ =
        new CDeviceEvents(*library_, *sheet_, *pages_,
                          DeviceEventHooks{[this](int id) { ModifyIconAtTaskbar(id); },
                                           [](std::uint32_t ms) { QThread::msleep(ms); },
                                           [](std::uint32_t ms) { WaitWithMessages(ms); }},
                          this);

    library_->Init(kLibraryIdentity, 0);

    queue_ = new UiRequestQueue(this);
    auto showMessage = [](int id) { AppMessageBox(nullptr, QString::fromLatin1(ResString(id))); };
    auto adjustPages = [this](int change) { pages_->AdjustPagesByXPWZC(change); };
    hostUi_ = std::make_unique<QueuedHostUi>(
        *queue_,
        HostUiTargets{[this](int id) { ModifyIconAtTaskbar(id); },
                      [this](int result) { sheet_->EndModal(result); }, WhileRunning(showMessage),
                      WhileRunning(adjustPages), [this] { pages_->ReadZeroConfigState(); }});
    polling_ = std::make_unique<CPollingThread>(*library_, sheet_->state, *hostUi_, clock_);
    if (!polling_->Start()) {
        // Nothing else calls the library yet: it is closed before the user
        // is told, and the utility ends.
        library_->Terminate();
        ReportStartFailure("cannot start: the system refused the card's polling thread "
                           "(too little memory or too many threads)");
        return false;
    }

    // SIGTERM and SIGINT are taken before the channel listens: whoever sees
    // the channel may already ask the utility to end either way.
    signals_ = new TerminationSignals([this] { Exit(); }, this);
    channel_ = new MessageServer(
        WhileRunning([this](const ChannelMessage& m) { OnChannelMessage(m); }), this);
    channel_->Listen();
    new CWindowCloseExit(
        sheet_.get(), [this] { return !trayAvailable_(); }, [this] { Exit(); }, this);
    udev_ = new UdevMonitor(WhileRunning([this](std::uint32_t event, const std::string& id) {
                                deviceEvents_->OnDeviceChange(event, id);
                            }),
                            this);
    udev_->Start();
    logind_ = new LogindMonitor(
        WhileRunning([this](std::uint32_t code) { deviceEvents_->OnPowerBroadcast(code); }), this);
    logind_->Start();

    QThread::msleep(kCreatePauseMs);
    return true;
}

HostUi& CMainFrame::PollingUi() {
    return *hostUi_;
}

void CMainFrame::ModifyIconAtTaskbar(int iconId) {
    if (exiting_) {
        return;
    }
    const bool wasShown = tray_->IconShown();
    const int before = tray_->CurrentIcon();
    tray_->ModifyIconAtTaskbar(iconId, [this] { sheet_->CloseSheet(); });
    if (hostUi_) {
        hostUi_->IconShown(tray_->IconShown() ? tray_->CurrentIcon() : kTrayIconRemove);
    }
    if (tray_->CurrentIcon() != before) {
        UpdateTrayTip();
    }
    if (!wasShown && tray_->IconShown() && !trayAvailable_()) {
        // No notification area to find the card in: the sheet opens when the
        // card is detected, first and again after each removal. It opens
        // from the event loop, not inside the request that reported it.
        QTimer::singleShot(0, this, [this] {
            if (!exiting_ && gDevicePresent && !gSheetOpen && tray_->IconShown()) {
                TraceOut("<M> No notification area: show the sheet");
                ShowSheet(false);
            }
        });
    }
}

void CMainFrame::UpdateTrayTip() {
    if (tray_->CurrentIcon() != kTrayIconConnected) {
        tray_->SetFixedTip();
        return;
    }
    // Read once when the link comes up: the network's name and signal.
    std::uint32_t mask = TAVL_MASK_SSID | TAVL_MASK_RSSI;
    HostInfo host{};
    {
        CAccessHandshake handshake(sheet_->state, clock_);
        library_->GetWLANConfig(&mask, &host);
    }
    const std::size_t length = std::min<std::size_t>(host.ssidLength, sizeof host.ssid);
    const QString ssid = QString::fromLatin1(reinterpret_cast<const char*>(host.ssid),
                                             static_cast<qsizetype>(length));
    tray_->SetLinkTip(ssid, RssiToPercent(static_cast<std::int16_t>(host.rssi & 0xFFFF)));
}

void CMainFrame::OnChannelMessage(const ChannelMessage& message) {
    switch (message.kind) {
    case ChannelMessage::Kind::ElegantClose:
        Exit();
        break;
    case ChannelMessage::Kind::DeviceChange:
        deviceEvents_->OnDeviceChange(message.code, message.identifier);
        break;
    case ChannelMessage::Kind::Power:
        deviceEvents_->OnPowerBroadcast(message.code);
        break;
    case ChannelMessage::Kind::Command:
        // Another program choosing a tray menu command. The handler may
        // run the sheet's modal loop: leave the channel's read first.
        QTimer::singleShot(0, this, [this, id = static_cast<int>(message.code)] { OnCommand(id); });
        break;
    case ChannelMessage::Kind::SecondStart:
        // With a notification area the icon is where the user finds the
        // utility, and a second start stays silent. Without one the sheet
        // is the only way in: show it, or bring it to the front.
        if (!trayAvailable_()) {
            QTimer::singleShot(0, this, [this] {
                TraceOut("<M> Second start: show the sheet");
                if (gSheetOpen) {
                    OnTrayDoubleClick();
                } else {
                    ShowSheet(true);
                }
            });
        }
        break;
    }
}

void CMainFrame::OnTrayDoubleClick() {
    show_->OnTrayDoubleClick();
}

void CMainFrame::OnCommand(int id) {
    if (exiting_) {
        return;
    }
    switch (id) {
    case ID_HIDE_UTILITY:
        sheet_->CloseSheet();
        break;
    case ID_SHOW_UTILITY:
        ShowSheet(true);
        break;
    case ID_APP_EXIT:
        Exit();
        break;
    default:
        break;
    }
}

void CMainFrame::ShowSheet(bool fromCommand) {
    if (!exiting_) {
        show_->ShowSheet(fromCommand);
    }
}

void CMainFrame::Exit() {
    if (exiting_) {
        return;
    }
    tray_->RemoveIconFromTaskbar();
    exiting_ = true;
    gThreadExit = 1;
    // The thread stops cooperatively: its sleeps end at once and its
    // handshake wait is released; joining it means no card library call
    // from it can follow TAVL_Terminate. A thread stuck inside a card call
    // is not waited for beyond the bound (Finish then leaves the library).
    clock_.Interrupt();
    if (!polling_->Stop()) {
        TraceOut("<M> Exit: the polling thread is still inside the card library");
    }
    sheet_->CloseSheet();
    // Every event loop ends, the sheet's and any wait's too; the card
    // library ends in Finish, once they have all returned, so no handler
    // still unwinding on this thread can call it after TAVL_Terminate.
    QCoreApplication::quit();
}

bool CMainFrame::Finish() {
    if (!exiting_ || finished_) {
        return true;
    }
    finished_ = true;
    if (!polling_->Ended()) {
        TraceOut("<M> TAVL_Terminate skipped: the polling thread is still inside the card library");
        std::fprintf(stderr, "skerrin: a card library call did not return; leaving without "
                             "closing the card library\n");
        return false;
    }
    library_->Terminate();
    return true;
}
