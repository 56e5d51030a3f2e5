#include "res/Templates.h"

#include "res/ControlIds.h"

namespace {

using namespace AboutControls;

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::Icon, "", 16, 20, 21, 20},
    {kNoticeLabel, ControlKind::Label, "", 50, 20, 179, 10},
    {kTitleLabel, ControlKind::Label, "", 50, 34, 179, 8, kStyleNoPrefix},
    {kDriverGroup, ControlKind::GroupBox, "Driver", 10, 57, 220, 29},
    {kDriverVersionCaption, ControlKind::Label, "Version:", 20, 70, 26, 8},
    {kDriverVersionLabel, ControlKind::Label, "0.0", 51, 70, 45, 8},
    {kUtilityGroup, ControlKind::GroupBox, "Configuration Utility", 10, 92, 220, 34},
    {kUtilityVersionCaption, ControlKind::Label, "Version:", 20, 106, 26, 8},
    {kUtilityVersionLabel, ControlKind::Label, "0.0", 51, 106, 49, 8},
    {kFirmwareGroup, ControlKind::GroupBox, "NIC Firmware", 10, 131, 220, 32},
    {kFirmwareVersionCaption, ControlKind::Label, "Version:", 20, 144, 30, 8},
    {kFirmwareVersionLabel, ControlKind::Label, "0.0", 51, 144, 49, 8},
};

} // namespace

const DialogTemplate kAboutTemplate = {IDD_ABOUT, "About", 238, 201, kControls};
