// skerrin: the Corvane LK2093 WLAN PCI card utility.
#include "app/MainFrame.h"
#include "app/TrayIcon.h"
#include "device/OsClass.h"
#include "pages/DialogBuilder.h"
#include "platform/OsVersionSource.h"
#include "platform/SingleInstance.h"
#include "res/Strings.h"

#include <QApplication>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("skerrin"));
    QApplication::setApplicationDisplayName(QString::fromLatin1(kAppTitle));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(CTrayIcon::IconImage(128));

    // A second instance ends at once, silently.
    auto instance = SingleInstanceLock::Acquire(kProductName);
    if (!instance) {
        return 0;
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
