#include "app/MainFrame.h"

#include "device/CardLibraryLoader.h"
#include "device/HostState.h"
#include "device/OsClass.h"
#include "device/RegulatoryDomain.h"
#include "pages/ConfigUtility.h"
#include "platform/MessageServer.h"
#include "platform/ModulePath.h"
#include "platform/OsVersionSource.h"
#include "platform/TerminationSignals.h"
#include "res/Strings.h"
#include "support/Trace.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

namespace {

// The identity the utility opens the card library with.
constexpr const char* kLibraryIdentity = "Pelkor";
// Pause after opening the library, before the frame is ready.
constexpr unsigned long kCreatePauseMs = 500;

} // namespace

CMainFrame::CMainFrame() : settingsPath_(SettingsPathFor(ModuleFileName())) {
    ReadDomainSettings(settingsPath_);
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::Create() {
    const OsClassification os = ClassifyOs(CurrentOsVersion());
    gOsClass = os.osClass;
    gWinMe = os.winMe;

    std::string error;
    library_ = LoadCardLibrary(ModuleDirectory() + "/" + kCardLibraryFileName, error);
    if (!error.empty()) {
        std::fprintf(stderr, "skerrin: %s\n", error.c_str());
        TraceOut("%s", error.c_str());
    }

    sheet_ = std::make_unique<CConfigUtility>(QString::fromLatin1(kAppTitle), *library_, clock_);

    library_->Init(kLibraryIdentity, 0);

    channel_ = new MessageServer([this](const ChannelMessage& m) { OnChannelMessage(m); }, this);
    channel_->Listen();
    signals_ = new TerminationSignals([this] { Exit(); }, this);

    QThread::msleep(kCreatePauseMs);
    return true;
}

void CMainFrame::OnChannelMessage(const ChannelMessage& message) {
    switch (message.kind) {
    case ChannelMessage::Kind::ElegantClose:
        Exit();
        break;
    case ChannelMessage::Kind::DeviceChange:
    case ChannelMessage::Kind::Power:
        break;
    }
}

void CMainFrame::Exit() {
    if (exiting_) {
        return;
    }
    exiting_ = true;
    gThreadExit = 1;
    clock_.Interrupt();
    if (sheet_) {
        sheet_->CloseSheet();
    }
    library_->Terminate();
    QCoreApplication::quit();
}
