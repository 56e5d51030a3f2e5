// CEncryptionPage: the "Encryption" page.
#pragma once

#include "pages/PropertyPage.h"

class CEncryptionPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit CEncryptionPage(CConfigUtility& sheet);

    void OnCommandHelp(int context) override;
};
