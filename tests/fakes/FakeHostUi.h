// FakeHostUi: records every request the device layer makes of the user
// interface, in order. Thread-safe.
#pragma once

#include "device/HostUi.h"

#include <algorithm>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

struct HostUiEvent {
    enum class Kind { Icon, EndSheetModal, Message, AdjustPages };
    Kind kind;
    int value;

    bool operator==(const HostUiEvent&) const = default;
};

class FakeHostUi final : public HostUi {
public:
    void ModifyIconAtTaskbar(int iconId) override { Add(HostUiEvent::Kind::Icon, iconId); }
    void EndSheetModal(int result) override { Add(HostUiEvent::Kind::EndSheetModal, result); }
    void ShowMessage(int stringId) override { Add(HostUiEvent::Kind::Message, stringId); }
    void AdjustPagesByXPWZC(int changePages) override {
        Add(HostUiEvent::Kind::AdjustPages, changePages);
    }

    std::vector<HostUiEvent> Events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }

    // The values of the requests of one kind, in order.
    std::vector<int> Values(HostUiEvent::Kind kind) const {
        std::lock_guard lock(mutex_);
        std::vector<int> out;
        for (const HostUiEvent& event : events_) {
            if (event.kind == kind) {
                out.push_back(event.value);
            }
        }
        return out;
    }
    std::vector<int> Icons() const { return Values(HostUiEvent::Kind::Icon); }
    std::vector<int> Messages() const { return Values(HostUiEvent::Kind::Message); }
    std::vector<int> EndSheetModals() const { return Values(HostUiEvent::Kind::EndSheetModal); }
    std::vector<int> PageAdjustments() const { return Values(HostUiEvent::Kind::AdjustPages); }

    // The icon last asked for; 0 before any.
    int LastIcon() const {
        const std::vector<int> icons = Icons();
        return icons.empty() ? 0 : icons.back();
    }

    void Clear() {
        std::lock_guard lock(mutex_);
        events_.clear();
    }

private:
    void Add(HostUiEvent::Kind kind, int value) {
        std::lock_guard lock(mutex_);
        events_.push_back({kind, value});
    }

    mutable std::mutex mutex_;
    std::vector<HostUiEvent> events_;
};
