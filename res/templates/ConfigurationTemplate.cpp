#include "res/Templates.h"

#include "res/ControlIds.h"

namespace {

using namespace ConfigurationControls;

// The profile box and its buttons at the top, the settings of the profile
// below, and the three buttons every editing page carries at its foot.
constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::GroupBox, "Profile", 10, 6, 220, 31},
    {IDC_PROFILE, ControlKind::ComboEdit, "", 31, 18, 68, 40, kStyleSorted},
    {IDC_REMOVE, ControlKind::PushButton, "&Remove", 107, 18, 33, 12},
    {IDC_CREATE, ControlKind::PushButton, "Cr&eate", 145, 18, 35, 12, kStyleDisabled},
    {IDC_ACTIVATE, ControlKind::PushButton, "Ac&tivate", 185, 18, 36, 12, kStyleDisabled},
    {IDC_STATIC, ControlKind::GroupBox, "Configuration", 10, 45, 220, 153},
    {IDC_MODE_LABEL, ControlKind::Label, "Operating &Mode", 36, 63, 53, 9, kStyleRight},
    {IDC_MODE, ControlKind::ComboList, "", 96, 61, 85, 80},
    {IDC_SSID_LABEL, ControlKind::Label, "Service Set &Identifier\n(SSID)", 18, 89, 71, 17,
     kStyleRight},
    {IDC_SSID, ControlKind::Edit, "", 96, 89, 123, 12},
    {IDC_CHANNEL_LABEL, ControlKind::Label, "C&hannel", 62, 120, 27, 8, kStyleRight},
    {IDC_CHANNEL, ControlKind::ComboList, "", 96, 118, 47, 75},
    {IDC_POWER_SAVE_LABEL, ControlKind::Label, "&Power Saving Mode", 24, 149, 65, 8, kStyleRight},
    {IDC_POWER_SAVE, ControlKind::ComboList, "", 96, 146, 47, 37},
    {IDC_RESTORE_DEFAULTS, ControlKind::PushButton, "Restore &Defaults", 25, 180, 61, 13},
    {IDC_UNDO_CHANGES, ControlKind::PushButton, "&Undo Changes", 91, 180, 59, 13, kStyleDisabled},
    {IDC_APPLY_CHANGES, ControlKind::PushButton, "&Apply Changes", 155, 180, 56, 13,
     kStyleDisabled},
};

} // namespace

const DialogTemplate kConfigurationTemplate = {IDD_CONFIGURATION, "Configuration", 239, 201,
                                               kControls};
