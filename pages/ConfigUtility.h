// CConfigUtility: the one modal property sheet, "Corvane LK2093 WLAN PCI
// card utility". It owns the five pages, the live record `reg` and the two
// events of the access handshake (SheetState), and is shown modally from
// the tray, closed from the tray, the polling thread or device removal, and
// shown again later with the same objects.
#pragma once

#include "device/SheetState.h"
#include "pages/AboutPage.h"
#include "pages/ConfigPage.h"
#include "pages/EncryptionPage.h"
#include "pages/LinkInfoPage.h"
#include "pages/SiteSurveyPage.h"

#include <QDialog>

#include <array>
#include <vector>

class CardLibrary;
class Clock;
class QPushButton;
class QTabWidget;

class CConfigUtility : public QDialog {
    Q_OBJECT
public:
    CConfigUtility(const QString& caption, CardLibrary& library, Clock& clock,
                   QWidget* parent = nullptr, int selectPage = 0);
    ~CConfigUtility() override;

    // `reg`, `background` and `forground`, shared with the polling thread.
    SheetState state;
    // The pages, in construction order. Each knows of the sheet only the
    // context it was given (PageContext).
    CLinkInfoPage m_LinkInfoPage;
    CConfigPage m_ConfigPage;
    CSiteSurveyPage m_SiteSurveyPage;
    CEncryptionPage m_EncryptionPage;
    CAboutPage m_AboutPage;

    // Shows the sheet modally on the first tab; returns when it closes
    // with 1 (OK, or ended by the polling thread) or 2 (Cancel, CloseSheet).
    int DoModal();
    // The two halves of DoModal around its modal loop: Open initialises
    // and shows the sheet on the first tab; AfterClose destroys the page
    // windows once it has closed. Tests drive them without a modal loop.
    void Open();
    void AfterClose();
    // Ends the modal display with `result` and enables the window.
    void EndModal(int result);
    // When gSheetOpen is set and the sheet is visible: EndModal(2).
    void CloseSheet();

    // The current page set.
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    CPropertyPage* GetPage(int index) const;
    int GetActiveIndex() const;
    CPropertyPage* GetActivePage() const { return active_; }
    void SetActivePage(int index);
    void RemovePage(CPropertyPage* page);
    void AddPage(CPropertyPage* page);

    // The tab titles as taken at the last opening (seven slots).
    const std::array<QString, 7>& PageTitles() const { return titles_; }

    CardLibrary& Library() { return library_; }
    Clock& PageClock() { return clock_; }

    void reject() override;

private:
    // The context the pages are constructed with: this sheet's state, the
    // card library, the clock and SetActivePage.
    PageContext MakePageContext(CardLibrary& library, Clock& clock);
    void InitDialog();
    // Builds the tabs from the current page set, on the first page.
    void MakeTabs();
    void OnTabChanged(int index);
    void Activate(CPropertyPage* page);
    void OnOk();
    void OnHelp();

    CardLibrary& library_;
    Clock& clock_;
    QTabWidget* tabs_;
    QPushButton* help_;
    std::vector<CPropertyPage*> pages_;
    CPropertyPage* active_ = nullptr;
    std::array<QString, 7> titles_;
};
