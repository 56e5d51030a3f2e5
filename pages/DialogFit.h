// Fits a built dialog's controls to their texts in the font they are
// drawn with. The templates were measured for a font that runs a little
// narrower than the one rendered here: a control whose text would be cut
// grows, keeping the template's layout: it keeps its left edge, or its
// right edge where it is right-aligned or would otherwise run into the
// control beside it.
#pragma once

#include "res/DialogTemplate.h"

#include <span>

class QWidget;

// The width `widget` needs to show its text whole (0 for controls whose
// text does not set their width).
int TextWidthNeeded(const QWidget& widget);

// Grows the controls of `dialog` (`widgets[i]` built from control i; null
// entries are skipped) to their texts.
void FitDialogControls(const DialogTemplate& dialog, std::span<QWidget* const> widgets);
