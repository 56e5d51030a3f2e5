#include "pages/EncryptionPage.h"

#include "platform/Help.h"
#include "res/Templates.h"

CEncryptionPage::CEncryptionPage(CConfigUtility& sheet)
    : CPropertyPage(kEncryptionTemplate, sheet) {}

void CEncryptionPage::OnCommandHelp(int context) {
    ShowHelpContext(context != 0 ? context : 105);
}
