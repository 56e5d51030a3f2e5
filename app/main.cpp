// skerrin: the Corvane LK2093 WLAN PCI card utility.
#include "app/MainFrame.h"
#include "app/TrayIcon.h"
#include "device/OsClass.h"
#include "pages/DialogBuilder.h"
#include "platform/OsVersionSource.h"
#include "platform/SingleInstance.h"
#include "res/Strings.h"
#include "support/MessageChannel.h"
#include "support/RuntimeDir.h"

#include <QApplication>
#include <QThreadPool>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

QtMessageHandler gQtHandler = nullptr;

// Qt's platform layer reports what a platform without a notification area
// or window manager (the offscreen one) cannot do (size hints, raising a
// window, a tray's window); the utility relies on none of them, so these
// notes say nothing a user could act on.
void QuietPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("This plugin does not support ")) ||
        text.contains(QLatin1String("systemTrayWindowChanged"))) {
        return;
    }
    gQtHandler(type, context, text);
}

} // namespace

int main(int argc, char** argv) {
    // Without a session's runtime folder, Qt and the utility share this
    // user's private one instead of Qt's guess and its warning.
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        if (const std::string runtime = support::RuntimeDirectory(); !runtime.empty()) {
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        }
    }
    gQtHandler = qInstallMessageHandler(QuietPlatformNotes);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("skerrin"));
    QApplication::setApplicationDisplayName(QString::fromLatin1(kAppTitle));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(CTrayIcon::IconImage(128));
    // Qt fills large areas of a window in slices on its shared thread pool,
    // one thread per core; the sheet's few fills a second need no more
    // than one helper thread (each costs a stack and a heap arena).
    QThreadPool::globalInstance()->setMaxThreadCount(1);

    SingleInstanceLock::Outcome outcome{};
    std::string error;
    auto instance = SingleInstanceLock::Acquire(kProductName, outcome, error);
    switch (outcome) {
    case SingleInstanceLock::Outcome::Acquired:
        break;
    case SingleInstanceLock::Outcome::HeldElsewhere: {
        // A second instance ends at once, silently; the running one shows
        // its sheet when it has no notification area to be found in.
        ChannelMessage again;
        again.kind = ChannelMessage::Kind::SecondStart;
        SendChannelLine(FormatChannelLine(again));
        return 0;
    }
    case SingleInstanceLock::Outcome::Unavailable:
        // Without the lock another instance could run on the same card.
        std::fprintf(stderr, "skerrin: not started: the single-instance lock cannot be taken: %s\n",
                     error.c_str());
        return 1;
    }

    CMainFrame frame;
    if (!frame.Create()) {
        return 1;
    }
    // Only the NT and 9x families are supported.
    const OsPlatform platform = CurrentOsVersion().platform;
    if (platform != OsPlatform::WindowsNt && platform != OsPlatform::Windows9x) {
        frame.Exit();
        frame.Finish();
        return 1;
    }
    const int code = QApplication::exec();
    if (!frame.Finish()) {
        // The polling thread is still inside a card library call: no
        // destructor may run (the frame's would reach the library and the
        // objects that thread is using). The kernel releases the lock.
        std::fflush(nullptr);
        _exit(code);
    }
    return code;
}
