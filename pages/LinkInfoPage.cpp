#include "pages/LinkInfoPage.h"

#include "platform/Help.h"
#include "res/Templates.h"

CLinkInfoPage::CLinkInfoPage(CConfigUtility& sheet) : CPropertyPage(kLinkInfoTemplate, sheet) {}

void CLinkInfoPage::OnCommandHelp(int context) {
    ShowHelpContext(context != 0 ? context : 102);
}
