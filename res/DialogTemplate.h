// Dialog templates as data: each page's controls with their identifiers,
// kinds, texts and rectangles in dialog units. pages/DialogBuilder turns a
// template into Qt widgets; each control's object name is its identifier.
#pragma once

#include <cstdint>
#include <span>

// Identifier of controls that are never addressed (labels, frames).
inline constexpr int IDC_STATIC = -1;

enum class ControlKind {
    Label,    // static text
    GroupBox, // frame with a caption
    PushButton,
    Edit,        // single-line edit
    KeyEdit,     // edit with key typing rules (CKeyEdit)
    ComboList,   // drop-down list
    ComboEdit,   // drop-down with an edit field
    CheckBox,    // automatic check box
    RadioButton, // automatic radio button
    ListView,    // report view list
    ProgressBar,
    Icon, // the application icon
};

// Style flags of a control.
enum ControlStyle : std::uint32_t {
    kStyleNone = 0,
    kStyleDisabled = 1u << 0,
    kStyleHidden = 1u << 1,
    kStyleRight = 1u << 2,   // right-aligned text
    kStyleVCenter = 1u << 3, // vertically centred text
    kStyleReadOnly = 1u << 4,
    kStyleSorted = 1u << 5,
    kStyleNoPrefix = 1u << 6, // "&" shows as itself
    kStyleGroup = 1u << 7,    // starts a group of its own
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, width, height;
    std::uint32_t style = kStyleNone;
};

struct DialogTemplate {
    int id;
    const char* title;
    int width, height;
    std::span<const ControlTemplate> controls;
};
