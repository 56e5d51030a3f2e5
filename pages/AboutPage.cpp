#include "pages/AboutPage.h"

#include "platform/Help.h"
#include "res/Templates.h"

CAboutPage::CAboutPage(CConfigUtility& sheet) : CPropertyPage(kAboutTemplate, sheet) {}

void CAboutPage::OnCommandHelp(int context) {
    ShowHelpContext(context != 0 ? context : 106);
}
