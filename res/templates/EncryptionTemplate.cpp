#include "res/Templates.h"

namespace {

// The sixteen key fields: four groups of four that lie on top of each
// other (hex-64, ASCII-64, hex-128, ASCII-128); key n sits at y 94, 111,
// 128, 145.
#define KEY_GROUP(id1, id2, id3, id4, width)                                                       \
    {id1, ControlKind::KeyEdit, "", 57, 94, width, 12},                                            \
        {id2, ControlKind::KeyEdit, "", 57, 111, width, 12},                                       \
        {id3, ControlKind::KeyEdit, "", 57, 128, width, 12}, {                                     \
        id4, ControlKind::KeyEdit, "", 57, 145, width, 12                                          \
    }

constexpr ControlTemplate kControls[] = {
    {61512, ControlKind::Label,
     "Your encryption settings must match those of your network, or your computer will be "
     "unable to communicate.",
     10, 2, 220, 19},
    {1119, ControlKind::Label, "&Encryption (WEP)", 51, 24, 57, 8},
    {1120, ControlKind::ComboList, "", 111, 22, 66, 41},
    {1135, ControlKind::GroupBox, "WEP Key Entry", 10, 39, 220, 160},
    {1128, ControlKind::RadioButton, "&Create with Passphrase", 20, 50, 90, 10, kStyleGroup},
    {1122, ControlKind::Label, "Pa&ssphrase", 32, 63, 38, 8},
    {1123, ControlKind::KeyEdit, "", 73, 62, 108, 12},
    {1131, ControlKind::RadioButton, "&Manual Entry", 19, 78, 57, 10, kStyleGroup},
    {1205, ControlKind::CheckBox, "ASC&II", 103, 78, 34, 10},
    {1092, ControlKind::Label, "Key &1", 32, 96, 19, 8},
    {1093, ControlKind::Label, "Key &2", 31, 113, 19, 8},
    {1094, ControlKind::Label, "Key &3", 31, 130, 19, 8},
    {1095, ControlKind::Label, "Key &4", 31, 147, 19, 8},
    KEY_GROUP(1031, 1037, 1043, 1048, 70),
    KEY_GROUP(1032, 1038, 1044, 1049, 70),
    KEY_GROUP(1136, 1137, 1138, 1139, 138),
    KEY_GROUP(1140, 1141, 1142, 1143, 138),
    {1096, ControlKind::Label, "Default &Tx Key", 31, 164, 48, 8},
    {1036, ControlKind::ComboList, "", 85, 161, 22, 59},
    {1125, ControlKind::PushButton, "Restore &Defaults", 25, 180, 61, 13},
    {1126, ControlKind::PushButton, "&Undo Changes", 91, 180, 59, 13, kStyleDisabled},
    {1127, ControlKind::PushButton, "&Apply Changes", 155, 180, 56, 13, kStyleDisabled},
};

#undef KEY_GROUP

} // namespace

const DialogTemplate kEncryptionTemplate = {184, "Encryption", 239, 201, kControls};
