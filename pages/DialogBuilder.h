// Builds a dialog template's controls as Qt widgets inside a page.
#pragma once

#include "res/DialogTemplate.h"

class QWidget;

// Creates every control of `dialog` as a child of `parent`, placed at its
// rectangle converted from dialog units, with its text and initial state.
// Each control's object name is its identifier (none for IDC_STATIC).
void BuildDialogControls(const DialogTemplate& dialog, QWidget* parent);

// The dialog font: Liberation Sans (Arial metrics) 8 pt.
void ApplyDialogFont(QWidget* widget);
