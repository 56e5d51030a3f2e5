// FakeHostUi: records every request the device layer makes of the user
// interface, in order. Thread-safe.
#pragma once

#include "device/HostUi.h"

#include <mutex>
#include <utility>
#include <vector>

class FakeHostUi final : public HostUi {
public:
    enum class Kind { Icon, EndSheetModal, Message, AdjustPages };

    void ModifyIconAtTaskbar(int iconId) override { Add(Kind::Icon, iconId); }
    void EndSheetModal(int result) override { Add(Kind::EndSheetModal, result); }
    void ShowMessage(int stringId) override { Add(Kind::Message, stringId); }
    void AdjustPagesByXPWZC(int changePages) override { Add(Kind::AdjustPages, changePages); }

    std::vector<std::pair<Kind, int>> Events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }
    // The values of the requests of one kind, in order.
    std::vector<int> Values(Kind kind) const {
        std::vector<int> out;
        for (const auto& [k, value] : Events()) {
            if (k == kind) {
                out.push_back(value);
            }
        }
        return out;
    }
    std::vector<int> Icons() const { return Values(Kind::Icon); }
    std::vector<int> Messages() const { return Values(Kind::Message); }
    std::vector<int> EndSheetModals() const { return Values(Kind::EndSheetModal); }
    std::vector<int> PageAdjustments() const { return Values(Kind::AdjustPages); }
    void Clear() {
        std::lock_guard lock(mutex_);
        events_.clear();
    }

private:
    void Add(Kind kind, int value) {
        std::lock_guard lock(mutex_);
        events_.emplace_back(kind, value);
    }

    mutable std::mutex mutex_;
    std::vector<std::pair<Kind, int>> events_;
};
