// The Encryption page: its lifecycle, its handlers and the arrangement of
// the key controls.
#include "pages/EncryptionPage.h"

#include "device/HostState.h"
#include "device/SheetState.h"
#include "pages/EncryptionKeys.h"
#include "pages/KeyEdit.h"
#include "platform/Help.h"
#include "res/Strings.h"
#include "res/Templates.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

std::uint8_t g_LastWepLevel = 2;

namespace {

// Characters of a passphrase the keys are made from while it is typed.
constexpr int kTypedPassphraseChars = 99;

// White background, blue text: the key fields, the passphrase field and
// the default key list.
const QColor kFieldBackground(255, 255, 255);
const QColor kFieldText(0, 0, 255);

// Only the enabled states take these colours: a disabled field keeps the
// style's disabled look, so that it does not look editable.
void PaintKeyColours(QWidget* widget) {
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window}) {
            palette.setColor(group, role, kFieldBackground);
        }
        for (QPalette::ColorRole role :
             {QPalette::Text, QPalette::ButtonText, QPalette::WindowText}) {
            palette.setColor(group, role, kFieldText);
        }
    }
    widget->setPalette(palette);
}

struct KeyGroup {
    const int* ids;
    int allowAnyChar;
    int maxChars;
};

} // namespace

CEncryptionPage::CEncryptionPage(const PageContext& context)
    : CPropertyPage(kEncryptionTemplate, context) {}

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

// ---- Lifecycle --------------------------------------------------------------

void CEncryptionPage::DoDataExchange(bool save) {
    if (!HasWindow()) {
        return;
    }
    if (save) {
        m_Passphrase = ControlText(kPassphraseEdit);
        for (int n = 0; n < 4; ++n) {
            m_KeyHex128[n] = ControlText(kHex128[n]);
        }
        for (int n = 0; n < 4; ++n) {
            m_KeyHex64[n] = ControlText(kHex64[n]);
        }
    } else {
        SetControlText(kPassphraseEdit, m_Passphrase);
        for (int n = 0; n < 4; ++n) {
            SetControlText(kHex128[n], m_KeyHex128[n]);
        }
        for (int n = 0; n < 4; ++n) {
            SetControlText(kHex64[n], m_KeyHex64[n]);
        }
    }
}

bool CEncryptionPage::OnInitDialog() {
    const KeyGroup groups[] = {
        {kHex64, 0, 10},
        {kAscii64, 1, 5},
        {kHex128, 0, 26},
        {kAscii128, 1, 13},
    };
    for (const KeyGroup& group : groups) {
        for (int n = 0; n < 4; ++n) {
            if (CKeyEdit* edit = KeyField(group.ids[n])) {
                edit->m_AllowAnyChar = group.allowAnyChar;
                edit->m_MaxChars = group.maxChars;
                PaintKeyColours(edit);
            }
        }
    }
    if (CKeyEdit* passphrase = KeyField(kPassphraseEdit)) {
        passphrase->m_AllowAnyChar = 1;
        passphrase->m_MaxChars = 127;
        PaintKeyColours(passphrase);
    }
    if (auto* defaultKey = Item<QComboBox>(kDefaultKeyList)) {
        PaintKeyColours(defaultKey);
    }

    DoDataExchange(false);

    if (auto* level = Item<QComboBox>(kLevelList)) {
        const QSignalBlocker blocker(level);
        level->insertItem(0, QString::fromLatin1(ResString(IDS_WEP_DISABLED)));
        level->insertItem(1, QString::fromLatin1(ResString(IDS_WEP_64)));
        level->insertItem(2, QString::fromLatin1(ResString(IDS_WEP_128)));
        level->setCurrentIndex(-1);
    }
    if (auto* defaultKey = Item<QComboBox>(kDefaultKeyList)) {
        const QSignalBlocker blocker(defaultKey);
        const int keys[] = {IDS_KEY_1, IDS_KEY_2, IDS_KEY_3, IDS_KEY_4};
        for (int n = 0; n < 4; ++n) {
            defaultKey->insertItem(n, QString::fromLatin1(ResString(keys[n])));
        }
        defaultKey->setCurrentIndex(-1);
    }
    ConnectHandlers();
    return true;
}

void CEncryptionPage::ConnectHandlers() {
    if (auto* level = Item<QComboBox>(kLevelList)) {
        connect(level, &QComboBox::activated, this, &CEncryptionPage::OnLevelChange);
    }
    if (auto* defaultKey = Item<QComboBox>(kDefaultKeyList)) {
        connect(defaultKey, &QComboBox::activated, this, &CEncryptionPage::OnDefaultKeyChange);
    }
    if (auto* radio = Item<QAbstractButton>(kPassphraseRadio)) {
        connect(radio, &QAbstractButton::clicked, this, &CEncryptionPage::OnPassphraseMode);
    }
    if (auto* radio = Item<QAbstractButton>(kManualRadio)) {
        connect(radio, &QAbstractButton::clicked, this, &CEncryptionPage::OnManualMode);
    }
    if (auto* ascii = Item<QAbstractButton>(kAsciiBox)) {
        connect(ascii, &QAbstractButton::clicked, this, &CEncryptionPage::OnAsciiBox);
    }
    if (CKeyEdit* passphrase = KeyField(kPassphraseEdit)) {
        // The text update first, then the text change.
        connect(passphrase, &QLineEdit::textEdited, this, &CEncryptionPage::OnPassphraseUpdate);
        connect(passphrase, &QLineEdit::textEdited, this, &CEncryptionPage::OnPassphraseChange);
    }
    for (const int* group : {kHex64, kAscii64, kHex128, kAscii128}) {
        for (int n = 0; n < 4; ++n) {
            if (CKeyEdit* edit = KeyField(group[n])) {
                connect(edit, &QLineEdit::textEdited, this, &CEncryptionPage::OnKeyUpdate);
            }
        }
    }
    if (auto* button = Item<QPushButton>(kRestoreButton)) {
        connect(button, &QPushButton::clicked, this, &CEncryptionPage::RestoreDefaults);
    }
    if (auto* button = Item<QPushButton>(kUndoButton)) {
        connect(button, &QPushButton::clicked, this, &CEncryptionPage::UndoChanges);
    }
    if (auto* button = Item<QPushButton>(kApplyButton)) {
        connect(button, &QPushButton::clicked, this, &CEncryptionPage::ApplyChanges);
    }
}

void CEncryptionPage::ShowStoredLevel(const WirelessReg& reg) {
    // The lists hold levels 0 to 2 and keys 1 to 4: another stored value
    // shows as no entry, and with no level the key controls are arranged
    // as for "Disabled".
    const bool knownLevel = reg.encryptionLevel <= 2;
    const int level = knownLevel ? static_cast<int>(reg.encryptionLevel) : -1;
    SelectListIndex(kDefaultKeyList, reg.defaultKeyId);
    SelectListIndex(kLevelList, level);
    ArrangeKeyControls(level);
}

bool CEncryptionPage::OnSetActive() {
    if (!HasWindow()) {
        return true;
    }
    LoadEntryMode();
    const WirelessReg reg = Context().state.reg.Get();
    m_Passphrase = RecordText(reg.passphrase);
    LoadKeysFromReg(reg);
    HexToAscii();
    ShowStoredLevel(reg);
    MaskKeyFields();
    ExchangeKeys(false);
    ArrangeKeyControls(ListIndex(kLevelList));
    EnableChangeButtons(false);
    return true;
}

bool CEncryptionPage::OnKillActive() {
    DoDataExchange(true);
    return true;
}

bool CEncryptionPage::OnApply() {
    gSheetOpen = 0;
    OnOK();
    return true;
}

void CEncryptionPage::OnOK() {
    auto* apply = Item<QPushButton>(kApplyButton);
    if (apply != nullptr && apply->isEnabled()) {
        ApplyChanges();
    }
}

void CEncryptionPage::OnCancel() {
    gSheetOpen = 0;
}

void CEncryptionPage::OnCommandHelp(int context) {
    ShowHelpContext(context != 0 ? context : HELP_ENCRYPTION);
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

// ---- Handlers -----------------------------------------------------------------

void CEncryptionPage::OnLevelChange() {
    KeepTypedKeys();
    m_PassphraseShown = 0;
    ArrangeKeyControls(ListIndex(kLevelList));
    MaskKeyFields();
    EnableChangeButtons(true);
}

void CEncryptionPage::OnPassphraseMode() {
    KeepTypedKeys();
    // An automatic radio button stays checked when clicked again.
    SetChecked(kPassphraseRadio, true);
    SetChecked(kManualRadio, false);
    ArrangeKeyControls(ListIndex(kLevelList));
    EnableChangeButtons(true);
    ExchangeKeys(false);
}

void CEncryptionPage::OnManualMode() {
    KeepTypedKeys();
    SetChecked(kManualRadio, true);
    SetChecked(kPassphraseRadio, false);
    ArrangeKeyControls(ListIndex(kLevelList));
    EnableChangeButtons(true);
    ExchangeKeys(false);
}

void CEncryptionPage::OnAsciiBox() {
    ExchangeKeys(true);
    if (IsChecked(kAsciiBox)) {
        HexToAscii();
    } else {
        // The keys typed as characters carry over into the hexadecimal
        // fields.
        const int level = ListIndex(kLevelList);
        if (level == 1) {
            ReadAsciiFields(0x1);
        } else if (level == 2) {
            ReadAsciiFields(0x10);
        }
        AsciiToHex();
        PutHexFields();
    }
    ArrangeKeyControls(ListIndex(kLevelList));
    EnableChangeButtons(true);
    ShowAsciiPlaceholders();
}

void CEncryptionPage::OnDefaultKeyChange() {
    EnableChangeButtons(true);
}

void CEncryptionPage::OnKeyUpdate() {
    EnableChangeButtons(true);
}

void CEncryptionPage::OnPassphraseUpdate() {
    if (m_PassphraseShown == 0) {
        m_PassphraseShown = 1;
        if (CKeyEdit* passphrase = KeyField(kPassphraseEdit)) {
            passphrase->SetPasswordChar(false);
            passphrase->setFocus();
            passphrase->selectAll();
            passphrase->setCursorPosition(
                std::min<int>(kTypedPassphraseChars, static_cast<int>(passphrase->text().size())));
        }
        // The user sees the passphrase and the keys it makes.
        const int* shown = ListIndex(kLevelList) == 1 ? kHex64 : kHex128;
        for (int n = 0; n < 4; ++n) {
            if (CKeyEdit* edit = KeyField(shown[n])) {
                edit->SetPasswordChar(false);
            }
        }
    }
    EnableChangeButtons(true);
}

void CEncryptionPage::OnPassphraseChange() {
    const QString text = ControlText(kPassphraseEdit).left(kTypedPassphraseChars);
    if (text.isEmpty()) {
        return;
    }
    const int level = ListIndex(kLevelList);
    if (level == 1 || level == 2) {
        GenerateKeysFromPassphrase(level, text);
    }
}
