// CSiteSurveyPage: the "Site Survey" page.
#pragma once

#include "pages/PropertyPage.h"

class CSiteSurveyPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit CSiteSurveyPage(CConfigUtility& sheet);

    void OnCommandHelp(int context) override;
};
