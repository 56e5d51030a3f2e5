// The sheet opened on the Encryption page, on the scripted fake card.
#pragma once

#include "KeyEditTyping.h"
#include "SheetHarness.h"
#include "device/Records.h"
#include "pages/EncryptionPage.h"
#include "pages/KeyEdit.h"

#include <QAbstractButton>
#include <QComboBox>

#include <string>
#include <vector>

// The four field ids of each key group, by name.
struct KeyGroupIds {
    const char* name;
    const int* ids;
};
inline const KeyGroupIds kKeyGroups[] = {
    {"hex-64", CEncryptionPage::kHex64},
    {"ASCII-64", CEncryptionPage::kAscii64},
    {"hex-128", CEncryptionPage::kHex128},
    {"ASCII-128", CEncryptionPage::kAscii128},
};

// A record with WEP at `level`, keys entered in `entryMode`.
inline WirelessReg WepReg(std::uint32_t level, std::uint32_t entryMode) {
    WirelessReg reg = DefaultWirelessReg();
    reg.encryptionLevel = level;
    reg.keyEntryMode = entryMode;
    return reg;
}

struct EncryptionHarness : SheetHarness {
    using Page = CEncryptionPage;

    explicit EncryptionHarness(const WirelessReg& reg = DefaultWirelessReg()) {
        g_LastWepLevel = 2;
        sheet->state.reg.Set(reg);
        Open();
        SelectTab(3);
        card.ClearCalls();
        clock.ClearRecords();
    }

    CEncryptionPage& page() { return sheet->m_EncryptionPage; }
    template <class T = QWidget> T* Control(int id) {
        return page().findChild<T*>(QString::number(id));
    }
    CKeyEdit* Key(int id) { return Control<CKeyEdit>(id); }
    QString Text(int id) { return Key(id)->text(); }
    bool Checked(int id) { return Control<QAbstractButton>(id)->isChecked(); }
    bool Enabled(int id) { return Control(id)->isEnabled(); }
    bool Shown(int id) { return !Control(id)->isHidden(); }
    int Index(int id) { return Control<QComboBox>(id)->currentIndex(); }
    bool ChangeButtonsEnabled() {
        return Enabled(Page::kApplyButton) && Enabled(Page::kUndoButton);
    }
    bool ChangeButtonsDisabled() {
        return !Enabled(Page::kApplyButton) && !Enabled(Page::kUndoButton);
    }

    // As the user does it: a click on an enabled button, a choice in a list.
    void Click(int id) { Control<QAbstractButton>(id)->click(); }
    void Choose(int listId, int index) {
        auto* list = Control<QComboBox>(listId);
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    void Type(int id, const QString& text) { TypeInto(Key(id), text); }
    void Apply() { Click(Page::kApplyButton); }

    WirelessReg Reg() const { return sheet->state.reg.Get(); }

    // Names of the key groups whose fields are shown (all four of a group,
    // or the group is reported partly shown).
    std::vector<std::string> ShownGroups() {
        std::vector<std::string> shown;
        for (const KeyGroupIds& group : kKeyGroups) {
            int count = 0;
            for (int n = 0; n < 4; ++n) {
                count += Shown(group.ids[n]) ? 1 : 0;
            }
            if (count == 4) {
                shown.emplace_back(group.name);
            } else if (count != 0) {
                shown.emplace_back(std::string(group.name) + " (partly)");
            }
        }
        return shown;
    }

    // Every field of a group enabled (true) or every one disabled (false).
    bool GroupEnabled(const int* ids) {
        return Enabled(ids[0]) && Enabled(ids[1]) && Enabled(ids[2]) && Enabled(ids[3]);
    }
    bool GroupDisabled(const int* ids) {
        return !Enabled(ids[0]) && !Enabled(ids[1]) && !Enabled(ids[2]) && !Enabled(ids[3]);
    }
    bool GroupMasked(const int* ids) {
        for (int n = 0; n < 4; ++n) {
            if (!Key(ids[n])->HasPasswordChar()) {
                return false;
            }
        }
        return true;
    }

    // The SetWLANConfig calls made so far.
    std::vector<CardCall> WlanCalls() const { return card.CallsNamed("SetWLANConfig"); }
};

inline QString Q(const char* text) {
    return QString::fromLatin1(text);
}
