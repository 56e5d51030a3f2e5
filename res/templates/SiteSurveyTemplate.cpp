#include "res/Templates.h"

#include "res/ControlIds.h"

namespace {

using namespace SiteSurveyControls;

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::Label,
     "The list contains available Access Points and their features. To update the list, click "
     "'Search' button. You can select a desired Access Point from the list, and click 'Connect' "
     "button to connect to the specified Access Point.",
     12, 6, 213, 38},
    {kSurveyList, ControlKind::ListView, "", 5, 45, 228, 91},
    {kSearchButton, ControlKind::PushButton, "&Search", 50, 160, 58, 12},
    // Enabled by a click that selects a row.
    {kConnectButton, ControlKind::PushButton, "&Connect", 128, 160, 58, 12, kStyleDisabled},
};

} // namespace

const DialogTemplate kSiteSurveyTemplate = {IDD_SITE_SURVEY, "Site Survey", 239, 201, kControls};
