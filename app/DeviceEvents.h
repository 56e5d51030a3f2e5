// CDeviceEvents: the main frame's device-change, power and timer messages,
// turned into the host state: whether the card is present, whether a full
// apply is due, and which pages the sheet shows.
#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <string>

class CardLibrary;
class CConfigUtility;
class CZeroConfigPages;

// How the handlers reach the tray and wait; tests replace the waits.
struct DeviceEventHooks {
    std::function<void(int iconId)> modifyIcon;
    std::function<void(std::uint32_t ms)> sleep;            // blocks the thread
    std::function<void(std::uint32_t ms)> waitWithMessages; // keeps events flowing
};

class CDeviceEvents : public QObject {
    Q_OBJECT
public:
    CDeviceEvents(CardLibrary& library, CConfigUtility& sheet, CZeroConfigPages& pages,
                  DeviceEventHooks hooks, QObject* parent = nullptr);

    // A device-change broadcast: 7 nodes changed, 0x8000 arrival, 0x8004
    // removal complete, with the device instance identifier. Returns true.
    bool OnDeviceChange(std::uint32_t event, const std::string& identifier);
    // A power broadcast with its event code.
    void OnPowerBroadcast(std::uint32_t code);
    // Timer 7: the newly arrived card is ready.
    void OnTimer();

    // Whether an identifier names a PCI, PC Card or USB device that is not
    // a network-class node (upper-cased before the test).
    static bool AcceptsIdentifier(const std::string& identifier);

    QTimer& ArrivalTimer() { return arrivalTimer_; }

private:
    void OnDevNodesChanged();
    void OnArrival(const std::string& identifier);
    void OnRemoveComplete(const std::string& identifier);

    CardLibrary& library_;
    CConfigUtility& sheet_;
    CZeroConfigPages& pages_;
    DeviceEventHooks hooks_;
    QTimer arrivalTimer_;

public:
    // On the Windows 98/Me class the first arrival after start is skipped.
    std::uint32_t gSkipFirstArrival = 1;
};

// Timer 7's delay after an arrival.
inline constexpr int kArrivalTimerMs = 2000;
