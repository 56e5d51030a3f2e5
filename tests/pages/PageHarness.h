// The sheet opened on one page, on the card of SheetHarness: the controls
// found by their id on the active page and worked as a user works them.
#pragma once

#include "SheetHarness.h"
#include "device/Records.h"
#include "pages/ConfigPage.h"
#include "pages/EncryptionPage.h"
#include "pages/KeyEdit.h"
#include "res/ControlIds.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

enum PageTab { kLinkInfoTab, kConfigTab, kSurveyTab, kEncryptionTab, kAboutTab };

// Types each character as one key press carrying it (a character outside
// the basic plane as one press).
inline void TypeInto(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString typed = text.mid(i, length);
        i += length - 1;
        const char16_t c = typed[0].unicode();
        const int key = c < 0x80 ? int{QChar(c).toUpper().unicode()} : int{Qt::Key_unknown};
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, typed);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, typed);
        QApplication::sendEvent(widget, &release);
    }
}

// A profile record: the default one with the settings the Configuration
// page shows.
inline WirelessReg Record(const char* name, const char* ssid, std::uint32_t channel = 6,
                          std::uint32_t mode = 1, std::uint32_t powerSave = 0) {
    WirelessReg reg = DefaultWirelessReg();
    SetFieldText(reg.profileName, name);
    SetFieldText(reg.ssid, ssid);
    reg.channel = channel;
    reg.opMode = mode;
    reg.powerSaveMode = powerSave;
    return reg;
}

// A record with WEP at `level`, keys entered in `entryMode`.
inline WirelessReg WepReg(std::uint32_t level, std::uint32_t entryMode) {
    WirelessReg reg = DefaultWirelessReg();
    reg.encryptionLevel = level;
    reg.keyEntryMode = entryMode;
    return reg;
}

struct PageHarness : SheetHarness {
    PageHarness() {
        gApplyConfigRequest = 0;
        g_LastWepLevel = 2;
        sheet->state.reg.Set(DefaultWirelessReg());
        // Channels 1 to 11 from the card unless a test says otherwise.
        SetChannelMask(0x07FF);
    }
    // The sheet opened with `reg` on the Encryption page.
    explicit PageHarness(const WirelessReg& reg) : PageHarness() { OpenOn(kEncryptionTab, reg); }
    // The profiles stored, then the sheet opened on page `tab`.
    PageHarness(PageTab tab, std::initializer_list<WirelessReg> profiles) : PageHarness() {
        Store(profiles);
        OpenOn(tab);
    }

    void SetChannelMask(std::uint16_t mask) {
        HostInfo host = card.CardHost();
        host.channelMask = mask;
        card.SetCardHost(host);
    }
    // Stores the profiles and makes the first one active and loaded into
    // `reg`, as the polling thread leaves them at start.
    void Store(std::initializer_list<WirelessReg> profiles) {
        for (const WirelessReg& reg : profiles) {
            card.StoreProfile(std::string(FieldText(reg.profileName)), reg);
        }
        if (profiles.size() != 0) {
            card.SetActiveProfile(std::string(FieldText(profiles.begin()->profileName)));
            sheet->state.reg.Set(*profiles.begin());
        }
    }
    // Opens the sheet (it opens on Link Info, whose first refresh talks to
    // the card) and goes to page `tab`; only what that page does is kept.
    void OpenOn(int tab) {
        Open();
        card.ClearCalls();
        clock.ClearRecords();
        SelectTab(tab);
        Drain();
    }
    // Opens the sheet with `reg` on page `tab`, leaving out also what the
    // page read as it came up.
    void OpenOn(int tab, const WirelessReg& reg) {
        sheet->state.reg.Set(reg);
        OpenOn(tab);
        card.ClearCalls();
        clock.ClearRecords();
    }

    QStringList Entries(int id) {
        QStringList texts;
        for (int i = 0; i < Control<QComboBox>(id)->count(); ++i) {
            texts << Control<QComboBox>(id)->itemText(i);
        }
        return texts;
    }
    int Index(int id) { return Control<QComboBox>(id)->currentIndex(); }
    bool Enabled(int id) { return Control(id)->isEnabled(); }
    bool Checked(int id) { return Control<QAbstractButton>(id)->isChecked(); }

    // As the user does it: a click on a button (a disabled one takes none),
    // a choice in a list, keys typed into an edit or an editable list.
    void Click(int id) { Control<QAbstractButton>(id)->click(); }
    void Choose(int id, int index) {
        auto* list = Control<QComboBox>(id);
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    void ChooseText(int id, const QString& text) {
        Choose(id, Control<QComboBox>(id)->findText(text));
    }
    QLineEdit* Edit(int id) {
        auto* list = Control<QComboBox>(id);
        return list != nullptr ? list->lineEdit() : Control<QLineEdit>(id);
    }
    void Type(int id, const QString& text) { TypeInto(Edit(id), text); }
    // Replaces the edit's text key by key.
    void Replace(int id, const QString& text) {
        Edit(id)->selectAll();
        QTest::keyClick(Edit(id), Qt::Key_Delete);
        Type(id, text);
    }
    // The sheet's OK button.
    void Ok() {
        sheet->findChild<QAbstractButton*>(QString::number(SheetControls::kOkButton))->click();
    }

    WirelessReg Reg() const { return sheet->state.reg.Get(); }

    // ---- The Encryption page -----------------------------------------------

    // Names of the key groups whose fields show (all four of a group, or
    // the group is named partly shown).
    std::vector<std::string> ShownGroups() {
        const std::pair<const char*, const int*> groups[] = {
            {"hex-64", CEncryptionPage::kHex64},
            {"ASCII-64", CEncryptionPage::kAscii64},
            {"hex-128", CEncryptionPage::kHex128},
            {"ASCII-128", CEncryptionPage::kAscii128},
        };
        std::vector<std::string> shown;
        for (const auto& [name, ids] : groups) {
            const auto count =
                std::count_if(ids, ids + 4, [this](int id) { return !Control(id)->isHidden(); });
            if (count != 0) {
                shown.push_back(std::string(name) + (count == 4 ? "" : " (partly)"));
            }
        }
        return shown;
    }
    // How many of the four key fields `ids` are enabled.
    int EnabledKeys(const int* ids) {
        return static_cast<int>(
            std::count_if(ids, ids + 4, [this](int id) { return Enabled(id); }));
    }
    // Apply Changes and Undo Changes: both enabled, or both disabled.
    bool ChangesPending() {
        EXPECT_EQ(Enabled(CEncryptionPage::kApplyButton), Enabled(CEncryptionPage::kUndoButton));
        return Enabled(CEncryptionPage::kApplyButton);
    }
    void Apply() { Click(CEncryptionPage::kApplyButton); }
    // The SetWLANConfig calls made so far.
    std::vector<CardCall> WlanCalls() const { return card.CallsNamed("SetWLANConfig"); }
};
