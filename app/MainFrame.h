// CMainFrame: the hidden main frame. It owns the card library, the sheet
// and the polling thread, receives the message channel's messages, device
// and power events and the tray's callbacks, and routes each to the part
// that handles it.
#pragma once

#include "device/CardLibrary.h"
#include "device/Clock.h"

#include <QObject>

#include <memory>
#include <string>

class CConfigUtility;
class MessageServer;
class TerminationSignals;
struct ChannelMessage;

class CMainFrame : public QObject {
    Q_OBJECT
public:
    // Construction: the settings path beside the executable, then the
    // regulatory domain and channel override read from it.
    CMainFrame();
    ~CMainFrame() override;

    // Creation: classifies the system, builds the hidden sheet, opens the
    // card library and starts the polling thread. False when it fails.
    bool Create();

    // The exit of the tray menu's Exit and of "ELEGANT_CLOSE".
    void Exit();

    const std::string& SettingsPath() const { return settingsPath_; }
    CConfigUtility* Sheet() const { return sheet_.get(); }
    CardLibrary& Library() { return *library_; }

private:
    void OnChannelMessage(const ChannelMessage& message);

    std::string settingsPath_;
    RealClock clock_;
    std::unique_ptr<CardLibrary> library_;
    std::unique_ptr<CConfigUtility> sheet_;
    MessageServer* channel_ = nullptr;
    TerminationSignals* signals_ = nullptr;
    bool exiting_ = false;
};
