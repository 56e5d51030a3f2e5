#include "app/ZeroConfigPages.h"

#include "device/CardLibrary.h"
#include "device/HostState.h"
#include "pages/ConfigUtility.h"
#include "support/Trace.h"

CZeroConfigPages::CZeroConfigPages(CardLibrary& library, CConfigUtility& sheet)
    : library_(library), sheet_(sheet) {}

void CZeroConfigPages::RemoveConfigPages() {
    sheet_.RemovePage(&sheet_.m_ConfigPage);
    sheet_.RemovePage(&sheet_.m_EncryptionPage);
}

void CZeroConfigPages::RestoreFivePages() {
    sheet_.RemovePage(&sheet_.m_LinkInfoPage);
    sheet_.RemovePage(&sheet_.m_SiteSurveyPage);
    sheet_.RemovePage(&sheet_.m_AboutPage);
    sheet_.AddPage(&sheet_.m_LinkInfoPage);
    sheet_.AddPage(&sheet_.m_ConfigPage);
    sheet_.AddPage(&sheet_.m_SiteSurveyPage);
    sheet_.AddPage(&sheet_.m_EncryptionPage);
    sheet_.AddPage(&sheet_.m_AboutPage);
}

void CZeroConfigPages::ReadZeroConfigState() {
    TraceOut("::AdjustPagesByXPWZC::");
    if (gOsClass == kOsNt51) {
        std::uint32_t state = 0;
        library_.Get_XPWZC(&state);
        gZeroConfig = state;
    }
}

bool CZeroConfigPages::AdjustPagesByXPWZC(int changePages) {
    TraceOut("::AdjustPagesByXPWZC::");
    if (locked_) {
        TraceOut("Locked!! return");
        return false;
    }
    locked_ = true;
    sheet_.state.background.Reset();

    bool mismatch = false;
    if (gOsClass == kOsNt51) {
        std::uint32_t state = 0;
        library_.Get_XPWZC(&state);
        gZeroConfig = state;
        const int pages = sheet_.GetPageCount();
        if (state != 0 && pages > 4) {
            sheet_.CloseSheet();
            if (changePages == 1) {
                TraceOut("5/6==> 3,  Remove Pages");
                RemoveConfigPages();
            }
            mismatch = true;
        } else if (state == 0 && pages <= 3) {
            sheet_.CloseSheet();
            if (changePages == 1) {
                TraceOut("3==> 5/6,  Remove Pages");
                sheet_.RemovePage(&sheet_.m_AboutPage);
                sheet_.RemovePage(&sheet_.m_SiteSurveyPage);
                TraceOut("3==> 5/6,  Add Pages");
                sheet_.AddPage(&sheet_.m_ConfigPage);
                sheet_.AddPage(&sheet_.m_SiteSurveyPage);
                sheet_.AddPage(&sheet_.m_EncryptionPage);
                sheet_.AddPage(&sheet_.m_AboutPage);
            }
            mismatch = true;
        }
    }

    sheet_.state.background.Set();
    locked_ = false;
    return mismatch;
}
