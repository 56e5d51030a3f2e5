// CEncryptionPage: the "Encryption" page (WEP).
//
// The encryption level (disabled, 64 or 128 bits), the four WEP keys, the
// transmit key, and how the keys are entered: generated from a passphrase,
// or typed as hexadecimal digits or as ASCII characters. Apply Changes
// validates the keys, writes them into the sheet's `reg`, stores the active
// profile, sends the WEP settings to the card itself inside the access
// handshake and makes the card associate again by setting the SSID twice.
//
// Key material stays out of sight: the key fields and the passphrase show
// `*` for each character, the ASCII key fields show a row of stars instead
// of their text, and a field shows its text in clear only from the moment
// the user types into it until the next masking.
//
// Key texts are 8-bit: an ASCII key character is one byte, held here as
// the Latin-1 character of that code.
#pragma once

#include "pages/EncryptionKeys.h"
#include "pages/PropertyPage.h"
#include "res/ControlIds.h"

#include <cstdint>

class CKeyEdit;

// The last non-zero level ArrangeKeyControls arranged; it decides which
// group is shown (disabled) while the level is "Disabled".
extern std::uint8_t g_LastWepLevel;

class CEncryptionPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit CEncryptionPage(const PageContext& context);

    // Control identifiers of the "Encryption" template; index n - 1 of a
    // key group holds key n.
    using enum EncryptionControls::Id;
    static constexpr const int (&kKeyLabels)[4] = EncryptionControls::kKeyLabels;
    static constexpr const int (&kHex64)[4] = EncryptionControls::kHex64;
    static constexpr const int (&kAscii64)[4] = EncryptionControls::kAscii64;
    static constexpr const int (&kHex128)[4] = EncryptionControls::kHex128;
    static constexpr const int (&kAscii128)[4] = EncryptionControls::kAscii128;

    // What the ASCII fields show instead of their text.
    static constexpr const char* kPlaceholder64 = "*****";
    static constexpr const char* kPlaceholder128 = "*************";

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnApply() override;
    void OnOK() override;
    void OnCancel() override;
    void OnCommandHelp(int context) override;

    // Apply Changes, also run by OnOK while Apply Changes is enabled.
    void ApplyChanges();
    // Restore Defaults and Undo Changes.
    void RestoreDefaults();
    void UndoChanges();

    // The keys as ASCII characters, as the ASCII fields show them.
    KeyTexts m_KeyAscii128;
    KeyTexts m_KeyAscii64;

private:
    // ---- EncryptionPage.cpp: lifecycle, handlers, applies ----
    void DoDataExchange(bool save);
    void ConnectHandlers();
    // Selects the stored level and transmit key, or no entry for a value
    // the lists do not hold, and arranges the key controls for it.
    void ShowStoredLevel(const WirelessReg& reg);

    void OnLevelChange();
    void OnPassphraseMode();
    void OnManualMode();
    void OnAsciiBox();
    void OnDefaultKeyChange();
    void OnPassphraseUpdate();
    void OnPassphraseChange();
    void OnKeyUpdate();

    // ---- EncryptionFields.cpp: the controls, their arrangement, and the
    // key texts between the fields, the page and `reg` ----
    void ArrangeKeyControls(int level);
    // The key group on show (the first id of its four), or nullptr.
    const int* ShownKeyGroup() const;
    void MaskKeyFields();
    void EnableChangeButtons(bool enable);

    void ShowAsciiPlaceholders();
    void RestoreAsciiTexts();
    void ExchangeKeys(bool save);
    // Takes what the fields hold (typed keys, typed ASCII keys included,
    // and the passphrase) into the page before the controls are arranged
    // anew, so a re-arrangement never discards what the user typed.
    void KeepTypedKeys();
    void ReadAsciiFields(unsigned flags);
    void HexToAscii();
    void AsciiToHex();
    void LoadEntryMode();
    // The key entry mode the radio buttons and the ASCII box show.
    std::uint32_t EntryMode() const;
    // Puts the keys `passphrase` makes at `level` into the page and its
    // hexadecimal fields; an empty passphrase gets the message instead.
    void GenerateKeysFromPassphrase(int level, const QString& passphrase);
    void LoadKeysFromReg(const WirelessReg& reg);
    void PutHexFields();

    CKeyEdit* KeyField(int id) const;
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    int ListIndex(int id) const;
    void SelectListIndex(int id, int index);
    void SetControlText(int id, const QString& text);
    QString ControlText(int id) const;
    void ShowControl(int id, bool show);
    void EnableControl(int id, bool enable);

    QString m_Passphrase;
    KeyTexts m_KeyHex128;
    KeyTexts m_KeyHex64;
    // The passphrase field has been unmasked since the last masking.
    std::uint32_t m_PassphraseShown = 0;
};
