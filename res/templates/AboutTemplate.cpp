#include "res/Templates.h"

namespace {

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::Icon, "", 16, 20, 21, 20},
    {1081, ControlKind::Label, "", 50, 20, 179, 10},
    {1080, ControlKind::Label, "", 50, 34, 179, 8, kStyleNoPrefix},
    {1102, ControlKind::GroupBox, "Driver", 10, 57, 220, 29},
    {1077, ControlKind::Label, "Version:", 20, 70, 26, 8},
    {1106, ControlKind::Label, "0.0", 51, 70, 45, 8},
    {1108, ControlKind::GroupBox, "Configuration Utility", 10, 92, 220, 34},
    {1109, ControlKind::Label, "Version:", 20, 106, 26, 8},
    {1110, ControlKind::Label, "0.0", 51, 106, 49, 8},
    {1111, ControlKind::GroupBox, "NIC Firmware", 10, 131, 220, 32},
    {1078, ControlKind::Label, "Version:", 20, 144, 30, 8},
    {1112, ControlKind::Label, "0.0", 51, 144, 49, 8},
};

} // namespace

const DialogTemplate kAboutTemplate = {181, "About", 238, 201, kControls};
