#include "res/Templates.h"

namespace {

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::Label, "", 0, 0, 1, 1, kStyleHidden},
};

} // namespace

const DialogTemplate kAboutTemplate = {181, "About", 238, 201, kControls};
