#include "pages/ConfigPage.h"

#include "platform/Help.h"
#include "res/Templates.h"

CConfigPage::CConfigPage(CConfigUtility& sheet) : CPropertyPage(kConfigurationTemplate, sheet) {}

void CConfigPage::OnCommandHelp(int context) {
    ShowHelpContext(context != 0 ? context : 103);
}
