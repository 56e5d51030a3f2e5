#include "res/Templates.h"

namespace {

// The profile box and its buttons at the top, the settings of the profile
// below, and the three buttons every editing page carries at its foot.
constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::GroupBox, "Profile", 10, 6, 220, 31},
    {1185, ControlKind::ComboEdit, "", 31, 18, 68, 40, kStyleSorted},
    {1188, ControlKind::PushButton, "&Remove", 107, 18, 33, 12},
    {1187, ControlKind::PushButton, "Cr&eate", 145, 18, 35, 12, kStyleDisabled},
    {1189, ControlKind::PushButton, "Ac&tivate", 185, 18, 36, 12, kStyleDisabled},
    {IDC_STATIC, ControlKind::GroupBox, "Configuration", 10, 45, 220, 153},
    {1085, ControlKind::Label, "Operating &Mode", 36, 63, 53, 9, kStyleRight},
    {1010, ControlKind::ComboList, "", 96, 61, 85, 80},
    {1087, ControlKind::Label, "Service Set &Identifier\n(SSID)", 18, 89, 71, 17, kStyleRight},
    {1012, ControlKind::Edit, "", 96, 89, 123, 12},
    {1086, ControlKind::Label, "C&hannel", 62, 120, 27, 8, kStyleRight},
    {1011, ControlKind::ComboList, "", 96, 118, 47, 75},
    {1089, ControlKind::Label, "&Power Saving Mode", 24, 149, 65, 8, kStyleRight},
    {1014, ControlKind::ComboList, "", 96, 146, 47, 37},
    {1116, ControlKind::PushButton, "Restore &Defaults", 25, 180, 61, 13},
    {1117, ControlKind::PushButton, "&Undo Changes", 91, 180, 59, 13, kStyleDisabled},
    {1118, ControlKind::PushButton, "&Apply Changes", 155, 180, 56, 13, kStyleDisabled},
};

} // namespace

const DialogTemplate kConfigurationTemplate = {182, "Configuration", 239, 201, kControls};
