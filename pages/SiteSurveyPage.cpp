#include "pages/SiteSurveyPage.h"

#include "platform/Help.h"
#include "res/Templates.h"

CSiteSurveyPage::CSiteSurveyPage(CConfigUtility& sheet)
    : CPropertyPage(kSiteSurveyTemplate, sheet) {}

void CSiteSurveyPage::OnCommandHelp(int context) {
    ShowHelpContext(context != 0 ? context : 104);
}
