#include "app/ZeroConfigPages.h"

#include "device/AccessHandshake.h"
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

// Whatever the current set (three pages, or already five when the service
// came and went while the sheet was closed), the result is the five pages
// in their one order, so the sheet opens on Link Info.
void CZeroConfigPages::RestoreFivePages() {
    sheet_.RemovePage(&sheet_.m_LinkInfoPage);
    sheet_.RemovePage(&sheet_.m_ConfigPage);
    sheet_.RemovePage(&sheet_.m_SiteSurveyPage);
    sheet_.RemovePage(&sheet_.m_EncryptionPage);
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
    // The polling thread holds at its next wait meanwhile (unless a page
    // already holds it: this may run inside that page's nested wait).
    const CPollingHold hold(sheet_.state);

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
                TraceOut("3==> 5/6,  Add Pages");
                RestoreFivePages();
            }
            mismatch = true;
        }
    }

    locked_ = false;
    return mismatch;
}
