// Dialog units to pixels, with the base units of the dialogs' font (Arial
// 8 pt, or the metric-compatible Liberation Sans): 6 by 12 at 96 dpi.
#pragma once

inline constexpr int kBaseUnitX = 6;
inline constexpr int kBaseUnitY = 12;
inline constexpr const char* kDialogFontFamily = "Liberation Sans";
inline constexpr int kDialogFontPoints = 8;

// MulDiv-style rounding, half away from zero.
constexpr int DialogXToPixels(int x) {
    const int scaled = x * kBaseUnitX;
    return scaled >= 0 ? (scaled + 2) / 4 : -((-scaled + 2) / 4);
}

constexpr int DialogYToPixels(int y) {
    const int scaled = y * kBaseUnitY;
    return scaled >= 0 ? (scaled + 4) / 8 : -((-scaled + 4) / 8);
}

static_assert(DialogXToPixels(239) == 359 && DialogYToPixels(201) == 302);
