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

#include "pages/PropertyPage.h"

#include <array>
#include <cstdint>

class CKeyEdit;
struct HostInfo;
struct WirelessReg;

// The last non-zero level ArrangeKeyControls arranged; it decides which
// group is shown (disabled) while the level is "Disabled".
extern std::uint8_t g_LastWepLevel;

class CEncryptionPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit CEncryptionPage(const PageContext& context);

    // Control identifiers.
    static constexpr int kLevelList = 1120;
    static constexpr int kKeyEntryGroup = 1135;
    static constexpr int kPassphraseRadio = 1128;
    static constexpr int kPassphraseLabel = 1122;
    static constexpr int kPassphraseEdit = 1123;
    static constexpr int kManualRadio = 1131;
    static constexpr int kAsciiBox = 1205;
    static constexpr int kKeyLabels[4] = {1092, 1093, 1094, 1095};
    static constexpr int kHex64[4] = {1031, 1037, 1043, 1048};
    static constexpr int kAscii64[4] = {1032, 1038, 1044, 1049};
    static constexpr int kHex128[4] = {1136, 1137, 1138, 1139};
    static constexpr int kAscii128[4] = {1140, 1141, 1142, 1143};
    static constexpr int kDefaultKeyLabel = 1096;
    static constexpr int kDefaultKeyList = 1036;
    static constexpr int kRestoreButton = 1125;
    static constexpr int kUndoButton = 1126;
    static constexpr int kApplyButton = 1127;

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

    // Apply Changes (1127), also run by OnOK while Apply Changes is enabled.
    void ApplyChanges();
    // Restore Defaults (1125) and Undo Changes (1126).
    void RestoreDefaults();
    void UndoChanges();

    // Page state; index n - 1 holds key n.
    QString m_Passphrase;
    std::array<QString, 4> m_KeyHex128;
    std::array<QString, 4> m_KeyHex64;
    std::array<QString, 4> m_KeyAscii128;
    std::array<QString, 4> m_KeyAscii64;
    // The passphrase field has been unmasked since the last masking.
    std::uint32_t m_PassphraseShown = 0;

private:
    // ---- EncryptionPage.cpp: lifecycle, handlers, arrangement ----
    void DoDataExchange(bool save);
    void ConnectHandlers();
    void ArrangeKeyControls(int level);
    // The key group on show (the first id of its four), or nullptr.
    const int* ShownKeyGroup() const;
    void MaskKeyFields();
    void EnableChangeButtons(bool enable);
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

    // ---- EncryptionKeys.cpp: key texts between the fields, the page and reg ----
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
    void StoreKeys64();
    void StoreKeys128();
    void LoadEntryMode();
    void StoreEntryMode();
    void GenerateKeysFromPassphrase(int level, const QString& passphrase);
    void LoadKeysFromReg(const WirelessReg& reg);
    void PutHexFields();

    // ---- EncryptionApply.cpp ----
    // The key texts to send at `level`, checked; false after the message.
    bool ValidateKeys(int level, bool asciiEntry);
    void SendWepSettings(std::uint32_t mask, const HostInfo& host);

    // Controls (nullptr while the page window is absent).
    CKeyEdit* KeyField(int id) const;
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    int ListIndex(int id) const;
    void SelectListIndex(int id, int index);
    void SetControlText(int id, const QString& text);
    QString ControlText(int id) const;
    void ShowControl(int id, bool show);
    void EnableControl(int id, bool enable);
};
