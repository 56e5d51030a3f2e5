// The Encryption page's controls: reading and writing them, the
// arrangement of the key groups for a level and entry mode, the masking of
// key material, and the key texts between the fields, the page and `reg`.
#include "pages/EncryptionPage.h"

#include "device/SheetState.h"
#include "pages/KeyEdit.h"
#include "platform/MessageBox.h"
#include "res/Strings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QSignalBlocker>

std::uint8_t g_LastWepLevel = 2;

// ---- Controls ---------------------------------------------------------------

CKeyEdit* CEncryptionPage::KeyField(int id) const {
    return Item<CKeyEdit>(id);
}

bool CEncryptionPage::IsChecked(int id) const {
    auto* button = Item<QAbstractButton>(id);
    return button != nullptr && button->isChecked();
}

void CEncryptionPage::SetChecked(int id, bool checked) {
    if (auto* button = Item<QAbstractButton>(id)) {
        const QSignalBlocker blocker(button);
        button->setChecked(checked);
    }
}

int CEncryptionPage::ListIndex(int id) const {
    auto* list = Item<QComboBox>(id);
    return list != nullptr ? list->currentIndex() : -1;
}

void CEncryptionPage::SelectListIndex(int id, int index) {
    if (auto* list = Item<QComboBox>(id)) {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
    }
}

void CEncryptionPage::SetControlText(int id, const QString& text) {
    if (auto* edit = KeyField(id)) {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
    }
}

QString CEncryptionPage::ControlText(int id) const {
    auto* edit = KeyField(id);
    return edit != nullptr ? edit->text() : QString();
}

void CEncryptionPage::ShowControl(int id, bool show) {
    if (auto* control = Item<QWidget>(id)) {
        control->setVisible(show);
    }
}

void CEncryptionPage::EnableControl(int id, bool enable) {
    if (auto* control = Item<QWidget>(id)) {
        control->setEnabled(enable);
    }
}

void CEncryptionPage::EnableChangeButtons(bool enable) {
    EnableControl(kUndoButton, enable);
    EnableControl(kApplyButton, enable);
}

// ---- Arrangement and masking --------------------------------------------------

void CEncryptionPage::ArrangeKeyControls(int level) {
    const bool ascii = IsChecked(kAsciiBox);
    const bool manual = IsChecked(kManualRadio);
    // Arranging disables controls on the way; the control the user works
    // with (a radio button just clicked) keeps the focus when it ends up
    // enabled.
    const QPointer<QWidget> focus = QApplication::focusWidget();

    for (const int* group : {kHex64, kAscii64, kHex128, kAscii128}) {
        for (int n = 0; n < 4; ++n) {
            ShowControl(group[n], false);
            EnableControl(group[n], false);
        }
    }
    for (int id : {kKeyEntryGroup, kPassphraseRadio, kManualRadio, kPassphraseEdit,
                   kPassphraseLabel, kAsciiBox}) {
        EnableControl(id, false);
    }
    for (int id : kKeyLabels) {
        EnableControl(id, false);
    }
    EnableControl(kDefaultKeyList, true);
    EnableControl(kDefaultKeyLabel, true);

    auto showGroup = [this](const int* group, bool enable) {
        for (int n = 0; n < 4; ++n) {
            ShowControl(group[n], true);
            EnableControl(group[n], enable);
        }
    };
    if (level == 1 || level == 2) {
        const int* asciiGroup = level == 1 ? kAscii64 : kAscii128;
        const int* hexGroup = level == 1 ? kHex64 : kHex128;
        if (manual) {
            showGroup(ascii ? asciiGroup : hexGroup, true);
            EnableControl(kAsciiBox, true);
            for (int id : kKeyLabels) {
                EnableControl(id, true);
            }
        } else {
            // Passphrase mode: the generated keys show in the level's
            // hexadecimal group, which cannot be typed into.
            EnableControl(kPassphraseEdit, true);
            EnableControl(kPassphraseLabel, true);
            showGroup(hexGroup, false);
        }
        EnableControl(kPassphraseRadio, true);
        EnableControl(kManualRadio, true);
        EnableControl(kKeyEntryGroup, true);
        g_LastWepLevel = static_cast<std::uint8_t>(level);
    } else {
        EnableControl(kDefaultKeyList, false);
        EnableControl(kDefaultKeyLabel, false);
        const bool wide = g_LastWepLevel == 2;
        showGroup(ascii ? (wide ? kAscii128 : kAscii64) : (wide ? kHex128 : kHex64), false);
    }
    if (ascii) {
        ShowAsciiPlaceholders();
    }
    // Each key label's mnemonic reaches the key field that is shown.
    const int* shown = ShownKeyGroup();
    for (int n = 0; n < 4; ++n) {
        auto* label = Item<QLabel>(kKeyLabels[n]);
        if (label != nullptr && shown != nullptr) {
            label->setBuddy(KeyField(shown[n]));
        }
    }
    if (focus != nullptr && focus != QApplication::focusWidget() && focus->isVisible() &&
        focus->isEnabled()) {
        focus->setFocus(Qt::OtherFocusReason);
    }
}

const int* CEncryptionPage::ShownKeyGroup() const {
    for (const int* group : {kHex64, kAscii64, kHex128, kAscii128}) {
        if (CKeyEdit* edit = KeyField(group[0]); edit != nullptr && !edit->isHidden()) {
            return group;
        }
    }
    return nullptr;
}

void CEncryptionPage::MaskKeyFields() {
    if (!HasWindow()) {
        return;
    }
    QWidget* focus = QApplication::focusWidget();
    for (const int* group : {kHex64, kHex128, kAscii128, kAscii64}) {
        for (int n = 0; n < 4; ++n) {
            if (CKeyEdit* edit = KeyField(group[n])) {
                edit->SetPasswordChar(true);
            }
        }
    }
    if (CKeyEdit* passphrase = KeyField(kPassphraseEdit)) {
        passphrase->SetPasswordChar(true);
    }
    m_PassphraseShown = 0;
    if (focus != nullptr) {
        focus->setFocus();
    } else if (auto* level = Item<QWidget>(kLevelList)) {
        level->setFocus();
    }
}

// ---- Key texts ----------------------------------------------------------------

void CEncryptionPage::ShowAsciiPlaceholders() {
    auto show = [this](int id, const char* placeholder) {
        SetControlText(id, QString::fromLatin1(placeholder));
        if (CKeyEdit* edit = KeyField(id)) {
            edit->m_ShowsPlaceholder = true;
        }
    };
    for (int n = 0; n < 4; ++n) {
        show(kAscii64[n], kPlaceholder64);
        show(kAscii128[n], kPlaceholder128);
    }
}

void CEncryptionPage::RestoreAsciiTexts() {
    // What the field shows decides, not its text: stars the user typed or
    // pasted are a key.
    auto restore = [this](int id, const QString& text) {
        CKeyEdit* edit = KeyField(id);
        if (edit != nullptr && edit->m_ShowsPlaceholder) {
            SetControlText(id, text);
            edit->m_ShowsPlaceholder = false;
        }
    };
    for (int n = 0; n < 4; ++n) {
        restore(kAscii128[n], m_KeyAscii128[n]);
    }
    for (int n = 0; n < 4; ++n) {
        restore(kAscii64[n], m_KeyAscii64[n]);
    }
}

void CEncryptionPage::KeepTypedKeys() {
    ExchangeKeys(true);
    ReadAsciiFields(0x1 | 0x10);
}

void CEncryptionPage::ExchangeKeys(bool save) {
    if (save) {
        RestoreAsciiTexts();
        DoDataExchange(true);
    } else {
        DoDataExchange(false);
        ShowAsciiPlaceholders();
    }
}

void CEncryptionPage::ReadAsciiFields(unsigned flags) {
    if (!HasWindow()) {
        return;
    }
    for (int n = 0; n < 4; ++n) {
        if (flags & 0x1) {
            m_KeyAscii64[n] = ControlText(kAscii64[n]);
        }
        if (flags & 0x10) {
            m_KeyAscii128[n] = ControlText(kAscii128[n]);
        }
    }
}

void CEncryptionPage::HexToAscii() {
    for (int n = 0; n < 4; ++n) {
        m_KeyAscii64[n] = HexKeyToAscii(m_KeyHex64[n], KeyBytesOfLevel(kWepLevel64));
        m_KeyAscii128[n] = HexKeyToAscii(m_KeyHex128[n], KeyBytesOfLevel(kWepLevel128));
    }
}

void CEncryptionPage::AsciiToHex() {
    RestoreAsciiTexts();
    for (int n = 0; n < 4; ++n) {
        m_KeyHex64[n] = AsciiKeyToHex(m_KeyAscii64[n], KeyBytesOfLevel(kWepLevel64));
        m_KeyHex128[n] = AsciiKeyToHex(m_KeyAscii128[n], KeyBytesOfLevel(kWepLevel128));
    }
}

void CEncryptionPage::LoadEntryMode() {
    const std::uint32_t mode = Context().state.reg.Get().keyEntryMode;
    if (mode == 1) {
        SetChecked(kManualRadio, false);
        SetChecked(kPassphraseRadio, true);
    } else {
        SetChecked(kPassphraseRadio, false);
        SetChecked(kManualRadio, true);
        SetChecked(kAsciiBox, mode == 3);
    }
}

std::uint32_t CEncryptionPage::EntryMode() const {
    return IsChecked(kPassphraseRadio) ? 1 : IsChecked(kAsciiBox) ? 3 : 2;
}

void CEncryptionPage::GenerateKeysFromPassphrase(int level, const QString& passphrase) {
    if (passphrase.isEmpty()) {
        AppMessageBox(this, QString::fromLatin1(ResString(IDS_NO_PASSPHRASE)), MsgButtons::Ok,
                      MsgIcon::Exclamation);
        return;
    }
    if (level != 1 && level != 2) {
        return;
    }
    KeyTexts& target = level == 1 ? m_KeyHex64 : m_KeyHex128;
    target = PassphraseKeyTexts(level, passphrase);
    const int* ids = level == 1 ? kHex64 : kHex128;
    for (int n = 0; n < 4; ++n) {
        SetControlText(ids[n], target[n]);
    }
    HexToAscii();
}

void CEncryptionPage::LoadKeysFromReg(const WirelessReg& reg) {
    for (int n = 0; n < 4; ++n) {
        m_KeyHex128[n] = RecordText(reg.keyText128[n]);
        m_KeyHex64[n] = RecordText(reg.keyText64[n]);
    }
}

void CEncryptionPage::PutHexFields() {
    for (int n = 0; n < 4; ++n) {
        SetControlText(kHex64[n], m_KeyHex64[n]);
        SetControlText(kHex128[n], m_KeyHex128[n]);
    }
}
