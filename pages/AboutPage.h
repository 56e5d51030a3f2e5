// CAboutPage: the "About" page.
#pragma once

#include "pages/PropertyPage.h"

class CAboutPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit CAboutPage(CConfigUtility& sheet);

    void OnCommandHelp(int context) override;
};
