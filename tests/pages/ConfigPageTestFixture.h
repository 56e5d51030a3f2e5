// A sheet on the fake card, opened on the Configuration page, with the
// profile store and the channel mask set up as a test needs them.
#pragma once

#include "KeyEditTyping.h"
#include "SheetHarness.h"
#include "device/Records.h"
#include "pages/ConfigPage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace configpage {

inline constexpr int kConfigTab = 1;

// A profile record: the default one with the settings the page shows.
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

inline std::string Field(const char* field, std::size_t size) {
    return std::string(field, strnlen(field, size));
}
#define FIELD(f) ::configpage::Field((f), sizeof(f))

class ConfigPageTest : public ::testing::Test {
public:
    ConfigPageTest() {
        // Channels 1 to 11 from the card unless a test says otherwise.
        SetCardChannelMask(0x07FF);
        gApplyConfigRequest = 0;
    }

    void SetCardChannelMask(std::uint16_t mask) {
        HostInfo host = h.card.CardHost();
        host.channelMask = mask;
        h.card.SetCardHost(host);
    }

    // Stores the profiles and makes the first one active and loaded into
    // `reg`, as the polling thread leaves them at start.
    void Store(std::initializer_list<WirelessReg> profiles) {
        bool first = true;
        for (const WirelessReg& reg : profiles) {
            const std::string name = FIELD(reg.profileName);
            h.card.StoreProfile(name, reg);
            if (first) {
                h.card.SetActiveProfile(name);
                h.sheet->state.reg.Set(reg);
                first = false;
            }
        }
    }

    // Stores `profiles` as Store does, then opens the page.
    void OpenPage(std::initializer_list<WirelessReg> profiles) {
        Store(profiles);
        OpenPage();
    }
    // Opens the sheet and goes to the Configuration page.
    void OpenPage() {
        h.Open();
        // The sheet opens on Link Info, whose first refresh talks to the
        // card; only what this page does is looked at.
        h.card.ClearCalls();
        h.clock.ClearRecords();
        h.SelectTab(kConfigTab);
        h.Drain();
    }

    CConfigPage& Page() { return h.sheet->m_ConfigPage; }
    WirelessReg Reg() { return h.sheet->state.reg.Get(); }

    template <class T> T* Item(int id) { return Page().findChild<T*>(QString::number(id)); }
    QComboBox* List(int id) { return Item<QComboBox>(id); }
    QComboBox* ProfileBox() { return List(CConfigPage::IDC_PROFILE); }
    QLineEdit* Ssid() { return Item<QLineEdit>(CConfigPage::IDC_SSID); }
    QPushButton* Button(int id) { return Item<QPushButton>(id); }
    bool Enabled(int id) { return Item<QWidget>(id)->isEnabled(); }

    // The user picks entry `index` of a list.
    void Choose(int id, int index) {
        QComboBox* list = List(id);
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    void ChooseText(int id, const QString& text) { Choose(id, List(id)->findText(text)); }
    // The user clicks a button (a disabled one takes no click).
    void Click(int id) { QTest::mouseClick(Button(id), Qt::LeftButton); }
    // Key presses carrying the characters of `text`.
    static void Type(QWidget* widget, const QString& text) { TypeInto(widget, text); }
    // The user replaces the SSID with `text`, key by key.
    void TypeSsid(const QString& text) {
        Ssid()->selectAll();
        QTest::keyClick(Ssid(), Qt::Key_Delete);
        Type(Ssid(), text);
    }
    // The user replaces the profile box's text with `text`, key by key.
    void TypeProfileName(const QString& text) {
        QLineEdit* edit = ProfileBox()->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        Type(edit, text);
    }
    // The user pastes `text` into the profile box, replacing its text.
    void PasteProfileName(const QString& text) {
        QLineEdit* edit = ProfileBox()->lineEdit();
        edit->selectAll();
        edit->insert(text);
    }

    QStringList Entries(int id) {
        QStringList texts;
        for (int i = 0; i < List(id)->count(); ++i) {
            texts << List(id)->itemText(i);
        }
        return texts;
    }
    QString Shown(int id) { return List(id)->currentText(); }

    SheetHarness h;
};

} // namespace configpage
