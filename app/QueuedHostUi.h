// The polling thread's HostUi: requests are queued for the main thread,
// where the frame carries them out. Requests that would change nothing
// there do not cross: the main thread sleeps while the card's state stays
// as it is.
#pragma once

#include "app/UiRequestQueue.h"
#include "device/HostState.h"
#include "device/HostUi.h"

#include <atomic>
#include <functional>

struct HostUiTargets {
    std::function<void(int iconId)> modifyIcon;
    std::function<void(int result)> endSheetModal;
    std::function<void(int stringId)> showMessage;
    std::function<void(int changePages)> adjustPages;
    // The page-set check's part that needs no window: reads who manages
    // the card into gZeroConfig. Runs on the calling thread.
    std::function<void()> readZeroConfig;
};

class QueuedHostUi final : public HostUi {
public:
    QueuedHostUi(UiRequestQueue& queue, HostUiTargets targets)
        : queue_(queue), targets_(std::move(targets)) {}

    // Main thread: the icon the tray shows now, kTrayIconRemove for none.
    // The frame tells it after every change, its own ones included.
    void IconShown(int iconId) { shownIcon_ = iconId; }

    // The status is reported every cycle; it crosses only when it differs
    // from what the tray shows, or from what was last asked for (a request
    // still on its way).
    void ModifyIconAtTaskbar(int iconId) override {
        if (iconId == requestedIcon_ && iconId == shownIcon_) {
            return;
        }
        requestedIcon_ = iconId;
        queue_.Post([this, iconId] { targets_.modifyIcon(iconId); });
    }
    void EndSheetModal(int result) override {
        queue_.Post([this, result] { targets_.endSheetModal(result); });
    }
    void ShowMessage(int stringId) override {
        queue_.Post([this, stringId] { targets_.showMessage(stringId); });
    }
    // With the sheet closed the check has no window to close or change: it
    // only reads the service's state, here on the polling thread.
    void AdjustPagesByXPWZC(int changePages) override {
        if (changePages == 0 && gSheetOpen == 0 && targets_.readZeroConfig) {
            targets_.readZeroConfig();
            return;
        }
        queue_.Post([this, changePages] { targets_.adjustPages(changePages); });
    }

private:
    UiRequestQueue& queue_;
    HostUiTargets targets_;
    std::atomic<int> shownIcon_{kTrayIconRemove};
    std::atomic<int> requestedIcon_{0};
};
