#include "res/Templates.h"

namespace {

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::Label, "State", 20, 13, 18, 8},
    {1028, ControlKind::Edit, "", 46, 11, 174, 13, kStyleReadOnly},
    {1066, ControlKind::Label, "Current Channel", 55, 34, 52, 8, kStyleRight},
    {1001, ControlKind::Edit, "", 113, 32, 16, 12, kStyleReadOnly},
    {1015, ControlKind::PushButton, "&Re-Scan", 170, 32, 50, 15},
    {1068, ControlKind::Label, "Current Transfer Rate", 38, 53, 69, 8, kStyleRight},
    {1003, ControlKind::Edit, "", 113, 51, 16, 12, kStyleReadOnly},
    {IDC_STATIC, ControlKind::Label, "Mbps", 135, 53, 18, 8},
    {1067, ControlKind::Label, "Current Service Set Identifier", 16, 72, 91, 8, kStyleRight},
    {1002, ControlKind::Edit, "", 113, 70, 107, 12, kStyleReadOnly},
    {1065, ControlKind::GroupBox, "Tx/Rx(Total Frames)", 20, 90, 200, 44},
    {IDC_STATIC, ControlKind::GroupBox, "Transmitted", 33, 99, 81, 30},
    {IDC_STATIC, ControlKind::GroupBox, "Received", 122, 99, 84, 30},
    {1029, ControlKind::Edit, "", 42, 111, 65, 13, kStyleReadOnly},
    {1231, ControlKind::Edit, "", 130, 111, 67, 13, kStyleReadOnly},
    {IDC_STATIC, ControlKind::Label, "Link Quality:", 20, 144, 52, 8},
    {1130, ControlKind::Label, "", 76, 144, 80, 9, kStyleVCenter},
    {1129, ControlKind::ProgressBar, "", 20, 154, 200, 8},
    {1100, ControlKind::Label, "Signal Strength:", 20, 165, 51, 8},
    {1101, ControlKind::Label, "", 76, 165, 80, 9, kStyleVCenter},
    {1099, ControlKind::ProgressBar, "", 20, 176, 200, 8},
};

} // namespace

const DialogTemplate kLinkInfoTemplate = {183, "Link Info", 239, 201, kControls};
