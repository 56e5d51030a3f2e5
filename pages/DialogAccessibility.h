// Names the controls of a built dialog template for keyboard and assistive
// technology users: each edit, list, drop-down and bar takes the text of its
// label (placed left of it or above it) as its accessible name, and the
// label becomes its buddy so the label's mnemonic moves the focus to it.
// Controls without a label take the caption of the frame around them.
#pragma once

#include "res/DialogTemplate.h"

#include <QString>

#include <span>

class QWidget;

// `widgets[i]` is the widget built for `dialog.controls[i]`.
void ApplyAccessibility(const DialogTemplate& dialog, std::span<QWidget* const> widgets);

// A label's text as a name: without mnemonic marks, line breaks or a
// trailing colon.
QString AccessibleNameFromLabel(const QString& text);
