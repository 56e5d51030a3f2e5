// The Encryption page: its lifecycle, its handlers and its three buttons
// (Apply Changes, Restore Defaults, Undo Changes).
#include "pages/EncryptionPage.h"

#include "device/HostState.h"
#include "device/SheetState.h"
#include "pages/EncryptionApply.h"
#include "pages/KeyEdit.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "res/Strings.h"
#include "res/Templates.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>

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

// ---- Apply Changes, Restore Defaults, Undo Changes ----------------------------

void CEncryptionPage::ApplyChanges() {
    if (!HasWindow()) {
        return;
    }
    ExchangeKeys(true);
    // The ASCII box decides how keys are typed by hand; in passphrase mode
    // the keys are the generated hexadecimal ones, whatever the box shows.
    const bool passphraseMode = IsChecked(kPassphraseRadio);
    const bool asciiEntry = IsChecked(kAsciiBox) && !passphraseMode;
    if (asciiEntry) {
        const CKeyEdit* ascii64 = KeyField(kAscii64[0]);
        ReadAsciiFields(ascii64 != nullptr && !ascii64->isHidden() ? 0x1 : 0x10);
        AsciiToHex();
    } else {
        HexToAscii();
    }

    const int level = ListIndex(kLevelList);
    if (level < kWepLevelDisabled || level > kWepLevel128) {
        // No level chosen: there is nothing to apply.
        return;
    }
    // Keys from an empty passphrase cannot be made: the apply stops at the
    // message, as it does at a key of the wrong length, rather than turn
    // WEP on with keys the user did not choose. Nothing changes in `reg`.
    if (level != kWepLevelDisabled && passphraseMode && m_Passphrase.isEmpty()) {
        GenerateKeysFromPassphrase(level, m_Passphrase);
        return;
    }
    if (level != kWepLevelDisabled && passphraseMode) {
        GenerateKeysFromPassphrase(level, m_Passphrase);
    }
    // No transmit key chosen (a stored index outside 1 to 4): key 1.
    const int defaultKey = ListIndex(kDefaultKeyList) >= 0 ? ListIndex(kDefaultKeyList) : 0;

    const KeyTexts& hex = level == kWepLevel64 ? m_KeyHex64 : m_KeyHex128;
    if (level != kWepLevelDisabled) {
        const KeyTexts& ascii = level == kWepLevel64 ? m_KeyAscii64 : m_KeyAscii128;
        if (const std::optional<KeyProblem> problem =
                CheckKeyTexts(level, asciiEntry, hex, ascii)) {
            AppMessageBox(this, KeyProblemMessage(*problem), MsgButtons::Ok, MsgIcon::Exclamation);
            return;
        }
    }
    const QByteArray passphrase = m_Passphrase.toLatin1();
    const std::uint32_t entryMode = EntryMode();
    // The level and the transmit key reach `reg` together with the keys, so
    // a refused key leaves `reg` as it was: a later store never pairs the
    // new level with the old keys.
    Context().state.reg.Update([&](WirelessReg& reg) {
        reg.encryptionLevel = static_cast<std::uint32_t>(level);
        reg.defaultKeyId = defaultKey;
        if (level != kWepLevelDisabled) {
            StoreKeyTexts(reg, level, hex);
        }
        SetFieldText(reg.passphrase, std::string_view(passphrase.constData(),
                                                      static_cast<std::size_t>(passphrase.size())));
        reg.keyEntryMode = entryMode;
    });

    ApplyWepToCard(Context(), {level, defaultKey, hex}, [this] {
        AppMessageBox(this, QString::fromLatin1(ResString(IDS_WEP_FAILED)), MsgButtons::Ok,
                      MsgIcon::Exclamation);
    });

    MaskKeyFields();
    ArrangeKeyControls(ListIndex(kLevelList));
    ExchangeKeys(false);
    EnableChangeButtons(false);
}

void CEncryptionPage::RestoreDefaults() {
    m_Passphrase.clear();
    for (int n = 0; n < 4; ++n) {
        m_KeyHex128[n] = QString::fromLatin1(kDefault128KeyText);
        m_KeyHex64[n] = QString::fromLatin1(kDefault64KeyText);
    }
    HexToAscii();
    Context().state.reg.Update([this](WirelessReg& reg) {
        StoreKeyTexts(reg, kWepLevel128, m_KeyHex128);
        StoreKeyTexts(reg, kWepLevel64, m_KeyHex64);
    });
    SetChecked(kAsciiBox, false);
    SetChecked(kPassphraseRadio, false);
    ExchangeKeys(false);
    SelectListIndex(kDefaultKeyList, 0);
    SelectListIndex(kLevelList, 0);
    ArrangeKeyControls(0);
    ExchangeKeys(false);
    EnableChangeButtons(true);
    MaskKeyFields();
}

void CEncryptionPage::UndoChanges() {
    const WirelessReg reg = Context().state.reg.Get();
    LoadKeysFromReg(reg);
    HexToAscii();
    ExchangeKeys(false);
    LoadEntryMode();
    ShowStoredLevel(reg);
    MaskKeyFields();
    ExchangeKeys(false);
    EnableChangeButtons(false);
}
