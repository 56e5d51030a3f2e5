#include "platform/Beep.h"

#include <QApplication>

#include <atomic>

namespace {

std::atomic<int> gBeeps{0};

} // namespace

void WarningBeep() {
    ++gBeeps;
    QApplication::beep();
}

int WarningBeepCount() {
    return gBeeps.load();
}
