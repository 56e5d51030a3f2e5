// Showing and bringing up the property sheet: the tray's double click and
// the menu's Show and Hide commands.
#pragma once

#include <cstdint>
#include <functional>

class CConfigUtility;
class CZeroConfigPages;

class CSheetShow {
public:
    // `waitWithMessages` is the 500 ms wait after a page-set change;
    // `running` is false once exit has begun.
    CSheetShow(CConfigUtility& sheet, CZeroConfigPages& pages,
               std::function<void(std::uint32_t ms)> waitWithMessages,
               std::function<bool()> running);

    // Left double click: shows the sheet when the card is present and the
    // sheet closed; brings an open sheet up.
    void OnTrayDoubleClick();
    // Shows the sheet modally (double click, or command 2002); returns when
    // it closes. From the command, a missing card is said in a message box.
    void ShowSheet(bool fromCommand);
    // An open sheet comes up: restored when minimized, raised and active.
    void BringUp();

    // True from the start of ShowSheet until the sheet has closed, the
    // 500 ms wait before the sheet appears included.
    bool Showing() const { return showing_; }

private:
    CConfigUtility& sheet_;
    CZeroConfigPages& pages_;
    std::function<void(std::uint32_t)> waitWithMessages_;
    std::function<bool()> running_;
    bool showing_ = false;
};
