#include "res/Templates.h"

#include "res/ControlIds.h"

namespace {

using namespace LinkInfoControls;

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::Label, "State", 20, 13, 18, 8},
    {kStateEdit, ControlKind::Edit, "", 46, 11, 174, 13, kStyleReadOnly},
    {kChannelLabel, ControlKind::Label, "Current Channel", 55, 34, 52, 8, kStyleRight},
    {kChannelEdit, ControlKind::Edit, "", 113, 32, 16, 12, kStyleReadOnly},
    {kReScanButton, ControlKind::PushButton, "&Re-Scan", 170, 32, 50, 15},
    {kRateLabel, ControlKind::Label, "Current Transfer Rate", 38, 53, 69, 8, kStyleRight},
    {kRateEdit, ControlKind::Edit, "", 113, 51, 16, 12, kStyleReadOnly},
    {IDC_STATIC, ControlKind::Label, "Mbps", 135, 53, 18, 8},
    {kSsidLabel, ControlKind::Label, "Current Service Set Identifier", 16, 72, 91, 8, kStyleRight},
    {kSsidEdit, ControlKind::Edit, "", 113, 70, 107, 12, kStyleReadOnly},
    {kFramesGroup, ControlKind::GroupBox, "Tx/Rx(Total Frames)", 20, 90, 200, 44},
    {IDC_STATIC, ControlKind::GroupBox, "Transmitted", 33, 99, 81, 30},
    {IDC_STATIC, ControlKind::GroupBox, "Received", 122, 99, 84, 30},
    {kTransmittedEdit, ControlKind::Edit, "", 42, 111, 65, 13, kStyleReadOnly},
    {kReceivedEdit, ControlKind::Edit, "", 130, 111, 67, 13, kStyleReadOnly},
    {IDC_STATIC, ControlKind::Label, "Link Quality:", 20, 144, 52, 8},
    {kQualityCaption, ControlKind::Label, "", 76, 144, 80, 9, kStyleVCenter},
    {kQualityBar, ControlKind::ProgressBar, "", 20, 154, 200, 8},
    {kSignalLabel, ControlKind::Label, "Signal Strength:", 20, 165, 51, 8},
    {kSignalCaption, ControlKind::Label, "", 76, 165, 80, 9, kStyleVCenter},
    {kSignalBar, ControlKind::ProgressBar, "", 20, 176, 200, 8},
};

} // namespace

const DialogTemplate kLinkInfoTemplate = {IDD_LINK_INFO, "Link Info", 239, 201, kControls};
