#include "pages/ConfigUtility.h"

#include "device/HostState.h"
#include "pages/DialogBuilder.h"
#include "res/ControlIds.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

CConfigUtility::CConfigUtility(const QString& caption, CardLibrary& library, Clock& clock,
                               QWidget* parent, int selectPage)
    : QDialog(parent), m_LinkInfoPage(MakePageContext(library, clock)),
      m_ConfigPage(MakePageContext(library, clock)),
      m_SiteSurveyPage(MakePageContext(library, clock)),
      m_EncryptionPage(MakePageContext(library, clock)),
      m_AboutPage(MakePageContext(library, clock)), library_(library), clock_(clock),
      tabs_(new QTabWidget(this)), help_(nullptr) {
    (void)selectPage; // the sheet always opens on the first page
    setWindowTitle(caption);
    setObjectName(QStringLiteral("sheet"));
    ApplyDialogFont(this);

    // One row of tabs; no Apply Now button; a Help button.
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->tabBar()->setExpanding(false);
    tabs_->setUsesScrollButtons(false);
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    auto* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    help_ = buttons->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
    ok->setObjectName(QString::number(SheetControls::kOkButton));
    cancel->setObjectName(QString::number(SheetControls::kCancelButton));
    help_->setObjectName(QString::number(SheetControls::kHelpButton));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CConfigUtility::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CConfigUtility::reject);
    connect(help_, &QPushButton::clicked, this, &CConfigUtility::OnHelp);
    // F1 asks the current page for its help, as the Help button does.
    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(helpKey, &QShortcut::activated, this, &CConfigUtility::OnHelp);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (CPropertyPage* page :
         {static_cast<CPropertyPage*>(&m_LinkInfoPage), static_cast<CPropertyPage*>(&m_ConfigPage),
          static_cast<CPropertyPage*>(&m_SiteSurveyPage),
          static_cast<CPropertyPage*>(&m_EncryptionPage),
          static_cast<CPropertyPage*>(&m_AboutPage)}) {
        AddPage(page);
    }
    connect(tabs_, &QTabWidget::currentChanged, this, &CConfigUtility::OnTabChanged);
}

CConfigUtility::~CConfigUtility() {
    // The pages are members: take them out of the widget tree before it
    // deletes its children. Taking a page out changes the current tab;
    // no page may be activated (and reach the card) on the way out.
    const QSignalBlocker blocker(tabs_);
    for (CPropertyPage* page :
         {static_cast<CPropertyPage*>(&m_LinkInfoPage), static_cast<CPropertyPage*>(&m_ConfigPage),
          static_cast<CPropertyPage*>(&m_SiteSurveyPage),
          static_cast<CPropertyPage*>(&m_EncryptionPage),
          static_cast<CPropertyPage*>(&m_AboutPage)}) {
        page->setParent(nullptr);
    }
}

PageContext CConfigUtility::MakePageContext(CardLibrary& library, Clock& clock) {
    return {state, library, clock, [this](int index) { SetActivePage(index); }};
}

CPropertyPage* CConfigUtility::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

int CConfigUtility::GetActiveIndex() const {
    auto found = std::find(pages_.begin(), pages_.end(), active_);
    return found == pages_.end() ? -1 : static_cast<int>(found - pages_.begin());
}

void CConfigUtility::AddPage(CPropertyPage* page) {
    if (std::find(pages_.begin(), pages_.end(), page) != pages_.end()) {
        return;
    }
    pages_.push_back(page);
    // A closed sheet has no tabs: they are made as it opens (InitDialog).
    if (isVisible()) {
        const QSignalBlocker blocker(tabs_);
        tabs_->addTab(page, page->Title());
    }
}

void CConfigUtility::RemovePage(CPropertyPage* page) {
    auto found = std::find(pages_.begin(), pages_.end(), page);
    if (found == pages_.end()) {
        return;
    }
    if (active_ == page) {
        active_ = nullptr;
    }
    page->DestroyPageWindow();
    const QSignalBlocker blocker(tabs_);
    if (const int tab = tabs_->indexOf(page); tab >= 0) {
        tabs_->removeTab(tab);
    }
    page->setParent(nullptr);
    pages_.erase(found);
}

int CConfigUtility::DoModal() {
    Open();
    const int result = exec();
    AfterClose();
    return result;
}

void CConfigUtility::Open() {
    InitDialog();
    show();
}

void CConfigUtility::AfterClose() {
    active_ = nullptr;
    for (CPropertyPage* page : pages_) {
        page->DestroyPageWindow();
    }
}

void CConfigUtility::InitDialog() {
    help_->setEnabled(true);
    gSheetOpen = 1;
    titles_ = {};
    for (int i = 0; i < GetPageCount() && i < static_cast<int>(titles_.size()); ++i) {
        titles_[static_cast<std::size_t>(i)] = GetPage(i)->Title().left(256);
    }
    active_ = nullptr;
    MakeTabs();
    if (!pages_.empty()) {
        Activate(pages_.front());
    }
}

void CConfigUtility::MakeTabs() {
    // Laying out a tab measures its title, which loads and shapes the dialog
    // font: a utility that stays in the notification area and never shows
    // its sheet does without both.
    const QSignalBlocker blocker(tabs_);
    while (tabs_->count() > 0) {
        tabs_->removeTab(0);
    }
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        tabs_->addTab(pages_[i], i < titles_.size() ? titles_[i] : pages_[i]->Title());
    }
    tabs_->setCurrentIndex(0);
    // A hidden tab widget does not tell the sheet's layout that it changed:
    // without this the sheet would be shown, and placed on the screen, at
    // the size it was last laid out with, before it had tabs.
    tabs_->updateGeometry();
}

void CConfigUtility::Activate(CPropertyPage* page) {
    active_ = page;
    page->CreatePageWindow();
    page->OnSetActive();
}

void CConfigUtility::OnTabChanged(int index) {
    CPropertyPage* next = GetPage(index);
    if (next == nullptr || next == active_) {
        return;
    }
    if (active_ != nullptr && !active_->OnKillActive()) {
        const QSignalBlocker blocker(tabs_);
        tabs_->setCurrentIndex(GetActiveIndex());
        return;
    }
    Activate(next);
}

void CConfigUtility::SetActivePage(int index) {
    if (GetPage(index) != nullptr) {
        tabs_->setCurrentIndex(index);
    }
}

void CConfigUtility::OnOk() {
    if (active_ != nullptr && !active_->OnKillActive()) {
        return;
    }
    for (CPropertyPage* page : std::vector<CPropertyPage*>(pages_)) {
        if (page->HasWindow() && !page->OnApply()) {
            return;
        }
    }
    EndModal(1);
}

void CConfigUtility::reject() {
    for (CPropertyPage* page : std::vector<CPropertyPage*>(pages_)) {
        if (page->HasWindow()) {
            page->OnCancel();
        }
    }
    EndModal(2);
}

void CConfigUtility::OnHelp() {
    if (active_ != nullptr) {
        active_->OnCommandHelp(0);
    }
}

void CConfigUtility::EndModal(int result) {
    done(result);
    setEnabled(true);
}

void CConfigUtility::CloseSheet() {
    if (gSheetOpen && isVisible()) {
        EndModal(2);
    }
}
