#include "app/MainFrame.h"

#include "app/DeviceEvents.h"
#include "app/QueuedHostUi.h"
#include "app/TrayIcon.h"
#include "app/UiRequestQueue.h"
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
    pages_ = std::make_unique<CZeroConfigPages>(*library_, *sheet_);
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
    polling_->Start();

    // SIGTERM and SIGINT are taken before the channel listens: whoever sees
    // the channel may already ask the utility to end either way.
    signals_ = new TerminationSignals([this] { Exit(); }, this);
    channel_ = new MessageServer(
        WhileRunning([this](const ChannelMessage& m) { OnChannelMessage(m); }), this);
    channel_->Listen();
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
    }
}

void CMainFrame::OnTrayDoubleClick() {
    if (exiting_) {
        return;
    }
    if (!gSheetOpen && gDevicePresent) {
        ShowSheet(false);
    } else if (gSheetOpen) {
        sheet_->raise();
        sheet_->activateWindow();
    }
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
    if (fromCommand) {
        if (!gDevicePresent) {
            AppMessageBox(nullptr, QString::fromLatin1(ResString(IDS_CARD_NOT_PRESENT)),
                          MsgButtons::Ok, MsgIcon::Information);
            return;
        }
        if (gSheetOpen) {
            return;
        }
    }
    if (pages_->AdjustPagesByXPWZC(1)) {
        WaitWithMessages(500);
        if (exiting_) {
            return;
        }
    }
    sheet_->DoModal();
    gSheetOpen = 0;
    if (gZeroConfig == 0) {
        sheet_->m_ConfigPage.m_ListsFilled = 0;
    }
    sheet_->m_SiteSurveyPage.m_b_ColumnsCreated = 0;
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
    // from it can follow TAVL_Terminate.
    clock_.Interrupt();
    polling_->Stop();
    sheet_->CloseSheet();
    // Every event loop ends, the sheet's and any wait's too; the card
    // library ends in Finish, once they have all returned, so no handler
    // still unwinding on this thread can call it after TAVL_Terminate.
    QCoreApplication::quit();
}

void CMainFrame::Finish() {
    if (!exiting_ || finished_) {
        return;
    }
    finished_ = true;
    library_->Terminate();
}
