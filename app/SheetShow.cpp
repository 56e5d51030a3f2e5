#include "app/SheetShow.h"

#include "app/ZeroConfigPages.h"
#include "device/HostState.h"
#include "pages/ConfigUtility.h"
#include "platform/MessageBox.h"
#include "res/Strings.h"

#include <QTimer>

// The pause after a page-set change before the sheet appears.
constexpr std::uint32_t kPagesChangedWaitMs = 500;

CSheetShow::CSheetShow(CConfigUtility& sheet, CZeroConfigPages& pages,
                       std::function<void(std::uint32_t)> waitWithMessages,
                       std::function<bool()> running)
    : sheet_(sheet), pages_(pages), waitWithMessages_(std::move(waitWithMessages)),
      running_(std::move(running)) {}

void CSheetShow::OnTrayDoubleClick() {
    if (!running_()) {
        return;
    }
    if (showing_ || gSheetOpen) {
        BringUp();
    } else if (gDevicePresent) {
        ShowSheet(false);
    }
}

void CSheetShow::BringUp() {
    // A sheet the user minimized keeps that state across hiding and showing;
    // every show brings it back to the screen.
    sheet_.setWindowState((sheet_.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    if (sheet_.isVisible()) {
        sheet_.raise();
        sheet_.activateWindow();
    }
}

void CSheetShow::ShowSheet(bool fromCommand) {
    if (fromCommand) {
        if (!gDevicePresent) {
            AppMessageBox(nullptr, QString::fromLatin1(ResString(IDS_CARD_NOT_PRESENT)),
                          MsgButtons::Ok, MsgIcon::Information);
            return;
        }
        if (gSheetOpen) {
            // Asked to show what is already open (the channel's command):
            // it comes up, as a double click brings it.
            BringUp();
            return;
        }
    }
    // A second show while this one waits for the page set, or while the
    // sheet is up, only brings the sheet up: one modal loop, one sheet.
    if (showing_) {
        BringUp();
        return;
    }
    showing_ = true;
    if (pages_.AdjustPagesByXPWZC(1)) {
        waitWithMessages_(kPagesChangedWaitMs);
        if (!running_()) {
            showing_ = false;
            return;
        }
    }
    BringUp();
    // Raised and active once it is on the screen (the modal loop shows it).
    QTimer::singleShot(0, &sheet_, [this] { BringUp(); });
    sheet_.DoModal();
    gSheetOpen = 0;
    if (gZeroConfig == 0) {
        sheet_.m_ConfigPage.m_ListsFilled = 0;
    }
    sheet_.m_SiteSurveyPage.m_b_ColumnsCreated = 0;
    showing_ = false;
}
