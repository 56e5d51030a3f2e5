// Keeping the sheet's page set in step with the desktop's network service
// (the zero-configuration service): while it manages the card the sheet
// shows Link Info, Site Survey and About; otherwise all five pages.
#pragma once

class CardLibrary;
class CConfigUtility;

class CZeroConfigPages {
public:
    CZeroConfigPages(CardLibrary& library, CConfigUtility& sheet);

    // Reads the service's state (NT 5.1 class only) into gZeroConfig; when
    // it does not fit the page set, closes the sheet and, with
    // `changePages` 1, changes the pages. True when it did not fit. A call
    // while one runs returns false at once.
    bool AdjustPagesByXPWZC(int changePages);

    // The check with the sheet closed, where it has nothing to close or
    // change: reads the service's state (NT 5.1 class only) into
    // gZeroConfig. Touches no window, so any thread may call it.
    void ReadZeroConfigState();

    // The five-page set to three pages, and back.
    void RemoveConfigPages();
    void RestoreFivePages();

private:
    CardLibrary& library_;
    CConfigUtility& sheet_;
    bool locked_ = false;
};
