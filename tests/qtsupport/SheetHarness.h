// A sheet on the recorded simulated card and the virtual clock, for page tests.
#pragma once

#include "RecordingMessageBoxes.h"
#include "device/HostState.h"
#include "device/VirtualClock.h"
#include "pages/ConfigUtility.h"
#include "res/Strings.h"
#include "tests/fakes/CardRecorder.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include <memory>

struct SheetHarness {
    SheetHarness() {
        ResetHostState();
        sheet = std::make_unique<CConfigUtility>(QString::fromLatin1(kAppTitle), card, clock);
    }
    ~SheetHarness() {
        if (sheet->isVisible()) {
            sheet->EndModal(2);
            sheet->AfterClose();
        }
    }

    // Opens the sheet as DoModal does, without a modal loop.
    void Open() { sheet->Open(); }
    // Closes it as the Cancel button does.
    void Cancel() {
        sheet->reject();
        sheet->AfterClose();
    }
    // Makes tab `index` the active page, as a click on its tab does.
    void SelectTab(int index) {
        sheet->findChild<QTabWidget*>(QStringLiteral("tabs"))->setCurrentIndex(index);
    }
    // Runs queued calls and posted events.
    static void Drain() { QCoreApplication::processEvents(); }

    // The control `id` of the page on show, found by its name.
    template <class T = QWidget> T* Control(int id) {
        return sheet->GetActivePage()->findChild<T*>(QString::number(id));
    }
    // What a control shows: an edit's or a label's text, a list's choice.
    QString Text(int id) {
        if (auto* list = Control<QComboBox>(id)) {
            return list->currentText();
        }
        if (auto* label = Control<QLabel>(id)) {
            return label->text();
        }
        return Control<QLineEdit>(id)->text();
    }

    CardRecorder card;
    VirtualClock clock;
    RecordingMessageBoxes boxes;
    std::unique_ptr<CConfigUtility> sheet;
};
