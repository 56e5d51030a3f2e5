// HostUi: how the device layer reaches the tray icon, the property sheet
// and message boxes.
//
// The polling thread calls it; the application implements it by queueing
// the request for the user-interface thread and returning at once, so the
// thread never waits for the user interface.
#pragma once

// clang-format off
class HostUi {
public:
    virtual ~HostUi() = default;
    virtual void ModifyIconAtTaskbar(int iconId) = 0; // 186 connected, 187 not, 207 remove
    virtual void EndSheetModal(int result) = 0;       // the polling thread ends the sheet's modal loop (result 1)
    virtual void ShowMessage(int stringId) = 0;       // message box with a string-table text (61532)
    virtual void AdjustPagesByXPWZC(int changePages) = 0; // every third cycle, with 0
};
// clang-format on

// Tray icon ids passed to ModifyIconAtTaskbar.
inline constexpr int kTrayIconConnected = 186;
inline constexpr int kTrayIconNotConnected = 187;
// Not an icon: the card is absent and the icon is to be removed.
inline constexpr int kTrayIconRemove = 207;

// "Failed to change device configuration."
inline constexpr int kStringChangeFailed = 61532;
