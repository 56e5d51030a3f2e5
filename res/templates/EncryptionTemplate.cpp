#include "res/Templates.h"

#include "res/ControlIds.h"

namespace {

using namespace EncryptionControls;

// The sixteen key fields: four groups of four that lie on top of each
// other (hex-64, ASCII-64, hex-128, ASCII-128); key n sits at y 94, 111,
// 128, 145.
#define KEY_GROUP(ids, width)                                                                      \
    {ids[0], ControlKind::KeyEdit, "", 57, 94, width, 12},                                         \
        {ids[1], ControlKind::KeyEdit, "", 57, 111, width, 12},                                    \
        {ids[2], ControlKind::KeyEdit, "", 57, 128, width, 12}, {                                  \
        ids[3], ControlKind::KeyEdit, "", 57, 145, width, 12                                       \
    }

constexpr ControlTemplate kControls[] = {
    {kNoticeLabel, ControlKind::Label,
     "Your encryption settings must match those of your network, or your computer will be "
     "unable to communicate.",
     10, 2, 220, 19},
    {kLevelLabel, ControlKind::Label, "&Encryption (WEP)", 51, 24, 57, 8},
    {kLevelList, ControlKind::ComboList, "", 111, 22, 66, 41},
    {kKeyEntryGroup, ControlKind::GroupBox, "WEP Key Entry", 10, 39, 220, 160},
    {kPassphraseRadio, ControlKind::RadioButton, "&Create with Passphrase", 20, 50, 90, 10,
     kStyleGroup},
    {kPassphraseLabel, ControlKind::Label, "Pa&ssphrase", 32, 63, 38, 8},
    {kPassphraseEdit, ControlKind::KeyEdit, "", 73, 62, 108, 12},
    {kManualRadio, ControlKind::RadioButton, "&Manual Entry", 19, 78, 57, 10, kStyleGroup},
    {kAsciiBox, ControlKind::CheckBox, "ASC&II", 103, 78, 34, 10},
    {kKeyLabels[0], ControlKind::Label, "Key &1", 32, 96, 19, 8},
    {kKeyLabels[1], ControlKind::Label, "Key &2", 31, 113, 19, 8},
    {kKeyLabels[2], ControlKind::Label, "Key &3", 31, 130, 19, 8},
    {kKeyLabels[3], ControlKind::Label, "Key &4", 31, 147, 19, 8},
    KEY_GROUP(kHex64, 70),
    KEY_GROUP(kAscii64, 70),
    KEY_GROUP(kHex128, 138),
    KEY_GROUP(kAscii128, 138),
    {kDefaultKeyLabel, ControlKind::Label, "Default &Tx Key", 31, 164, 48, 8},
    {kDefaultKeyList, ControlKind::ComboList, "", 85, 161, 22, 59},
    {kRestoreButton, ControlKind::PushButton, "Restore &Defaults", 25, 180, 61, 13},
    {kUndoButton, ControlKind::PushButton, "&Undo Changes", 91, 180, 59, 13, kStyleDisabled},
    {kApplyButton, ControlKind::PushButton, "&Apply Changes", 155, 180, 56, 13, kStyleDisabled},
};

#undef KEY_GROUP

} // namespace

const DialogTemplate kEncryptionTemplate = {IDD_ENCRYPTION, "Encryption", 239, 201, kControls};
