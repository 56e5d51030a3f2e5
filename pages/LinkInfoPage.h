// CLinkInfoPage: the "Link Info" page.
#pragma once

#include "pages/PropertyPage.h"

class CLinkInfoPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit CLinkInfoPage(CConfigUtility& sheet);

    void OnCommandHelp(int context) override;
};
