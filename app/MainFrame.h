// CMainFrame: the hidden main frame. It owns the card library, the sheet,
// the polling thread and the tray icon, receives the message channel's
// messages, device and power events and the tray's callbacks, and routes
// each to the part that handles it.
#pragma once

#include "device/CardLibrary.h"
#include "device/Clock.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

class CConfigUtility;
class HostUi;
class CDeviceEvents;
class CPollingThread;
class CSheetShow;
class CTrayIcon;
class CZeroConfigPages;
class LogindMonitor;
class MessageServer;
class QueuedHostUi;
class TerminationSignals;
class UdevMonitor;
class UiRequestQueue;
struct ChannelMessage;

class CMainFrame : public QObject {
    Q_OBJECT
public:
    // Construction: the settings path beside the executable, then the
    // regulatory domain and channel override read from it.
    CMainFrame();
    ~CMainFrame() override;

    // Creation: classifies the system, builds the hidden sheet, opens the
    // card library (the file `libraryPath`, by default the one beside the
    // executable) and starts the polling thread. False when it fails: a
    // card library file that cannot be used, or a polling thread the system
    // would not create; the reason is then on standard error, in the trace
    // and in one message box, and the card library is closed again.
    bool Create(const std::string& libraryPath = {});

    // The exit of the tray menu's Exit and of "ELEGANT_CLOSE": the icon
    // goes, the polling thread ends (waited for at most kStopBoundMs), the
    // sheet closes and the event loops are told to end. Nothing the frame
    // receives afterwards is handled.
    void Exit();
    // Ends the card library (TAVL_Terminate) once the event loop has
    // returned after Exit. When the polling thread is still inside a card
    // library call, the library is left alone (said in the trace) and the
    // result is false: the process must then leave at once, without
    // destructors, since any of them could reach the library.
    bool Finish();

    // The tray's double click, and the menu's commands.
    void OnTrayDoubleClick();
    void OnCommand(int id);
    // Shows the sheet modally (double click, or command 2002).
    void ShowSheet(bool fromCommand);
    CSheetShow& SheetShow() { return *show_; }

    // Whether the desktop has a notification area; without one the sheet
    // opens by itself whenever the card is detected.
    void SetTrayAvailable(std::function<bool()> available) {
        trayAvailable_ = std::move(available);
    }

    const std::string& SettingsPath() const { return settingsPath_; }
    CConfigUtility* Sheet() const { return sheet_.get(); }
    CTrayIcon* Tray() const { return tray_; }
    CDeviceEvents* DeviceEvents() const { return deviceEvents_; }
    CardLibrary& Library() { return *library_; }
    // What the polling thread hands to this thread (tests post through it).
    HostUi& PollingUi();

private:
    // `handler`, made inert once exit has begun: what arrives afterwards
    // (a channel line, a device or power event, a request queued by the
    // polling thread) reaches neither the card nor the desktop.
    template <class Handler> auto WhileRunning(Handler handler) {
        return [this, handler](auto&&... args) {
            if (!exiting_) {
                handler(std::forward<decltype(args)>(args)...);
            }
        };
    }

    // Says why the utility cannot start: standard error, trace, message box.
    void ReportStartFailure(const std::string& reason);
    void OnChannelMessage(const ChannelMessage& message);
    void ModifyIconAtTaskbar(int iconId);
    // The tray tip for the current icon; the connected one names the network.
    void UpdateTrayTip();

    std::string settingsPath_;
    RealClock clock_;
    std::unique_ptr<CardLibrary> library_;
    std::unique_ptr<CConfigUtility> sheet_;
    std::unique_ptr<CZeroConfigPages> pages_;
    std::unique_ptr<CSheetShow> show_;
    UiRequestQueue* queue_ = nullptr;
    std::unique_ptr<QueuedHostUi> hostUi_;
    std::unique_ptr<CPollingThread> polling_;
    CTrayIcon* tray_ = nullptr;
    CDeviceEvents* deviceEvents_ = nullptr;
    MessageServer* channel_ = nullptr;
    TerminationSignals* signals_ = nullptr;
    UdevMonitor* udev_ = nullptr;
    LogindMonitor* logind_ = nullptr;
    std::function<bool()> trayAvailable_;
    bool exiting_ = false;
    bool finished_ = false;
};
