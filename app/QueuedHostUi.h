// The polling thread's HostUi: every request is queued for the main
// thread, where the frame carries it out.
#pragma once

#include "app/UiRequestQueue.h"
#include "device/HostUi.h"

#include <functional>

struct HostUiTargets {
    std::function<void(int iconId)> modifyIcon;
    std::function<void(int result)> endSheetModal;
    std::function<void(int stringId)> showMessage;
    std::function<void(int changePages)> adjustPages;
};

class QueuedHostUi final : public HostUi {
public:
    QueuedHostUi(UiRequestQueue& queue, HostUiTargets targets)
        : queue_(queue), targets_(std::move(targets)) {}

    void ModifyIconAtTaskbar(int iconId) override {
        queue_.Post([this, iconId] { targets_.modifyIcon(iconId); });
    }
    void EndSheetModal(int result) override {
        queue_.Post([this, result] { targets_.endSheetModal(result); });
    }
    void ShowMessage(int stringId) override {
        queue_.Post([this, stringId] { targets_.showMessage(stringId); });
    }
    void AdjustPagesByXPWZC(int changePages) override {
        queue_.Post([this, changePages] { targets_.adjustPages(changePages); });
    }

private:
    UiRequestQueue& queue_;
    HostUiTargets targets_;
};
