// PageContext: what a page of the sheet works with. The sheet owns its
// pages and hands each this context when it constructs them; a page knows
// nothing else of the sheet.
#pragma once

#include <functional>

class CardLibrary;
class Clock;
struct SheetState;

struct PageContext {
    // `reg` and the access handshake's events, shared with the polling
    // thread.
    SheetState& state;
    // The card library every card call of a page goes through.
    CardLibrary& library;
    // The clock of the pages' waits and ticks.
    Clock& clock;
    // Turns the sheet to the page at `index` of its current page set.
    std::function<void(int index)> setActivePage;
};
