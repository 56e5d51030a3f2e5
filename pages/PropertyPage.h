// CPropertyPage: one page of the sheet, built on a dialog template.
//
// As with the classic property page, the page object lives as long as the
// sheet while its window (the controls) exists only while the sheet is
// open: the sheet creates the window at the page's first activation and
// destroys it when it closes, so OnInitDialog runs once per opening.
#pragma once

#include "pages/PageContext.h"
#include "res/DialogTemplate.h"

#include <QString>
#include <QWidget>

class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    CPropertyPage(const DialogTemplate& dialog, const PageContext& context);

    int DialogId() const { return dialog_.id; }
    QString Title() const { return QString::fromUtf8(dialog_.title); }

    // The page window, created and destroyed by the sheet.
    void CreatePageWindow();
    void DestroyPageWindow();
    bool HasWindow() const { return body_ != nullptr; }

    // Overridables, as the sheet calls them.
    virtual bool OnInitDialog() { return true; }
    virtual bool OnSetActive() { return true; }
    virtual bool OnKillActive() { return true; }
    // OK: the sheet calls OnApply on every page with a window; by default
    // that runs OnOK. False keeps the sheet open.
    virtual bool OnApply() {
        OnOK();
        return true;
    }
    virtual void OnOK() {}
    virtual void OnCancel() {}
    // The help request (WM_COMMANDHELP) with its context, 0 for none.
    virtual void OnCommandHelp(int context) = 0;

    // The shared state, the card library, the clock and page switching.
    const PageContext& Context() const { return context_; }
    // The page window's client area holding the controls (nullptr while
    // the window is absent).
    QWidget* Body() const { return body_; }

private:
    // A control of the page that disables itself while it has the focus
    // (Re-Scan, Search, Apply Changes) hands the focus to the next control
    // of the page a user can work with, not to the tab row or a read-only
    // field; with none left on the page, to the sheet's default button.
    void OnFocusChanged(QWidget* old, QWidget* now);

protected:
    // The control with identifier `id` (nullptr while the window is absent).
    template <class T> T* Item(int id) const {
        return body_ ? body_->findChild<T*>(QString::number(id)) : nullptr;
    }

private:
    const DialogTemplate& dialog_;
    PageContext context_;
    QWidget* body_ = nullptr;
};
