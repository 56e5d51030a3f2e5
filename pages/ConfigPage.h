// CConfigPage: the "Configuration" page.
#pragma once

#include "pages/PropertyPage.h"

class CConfigPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit CConfigPage(CConfigUtility& sheet);

    void OnCommandHelp(int context) override;
};
