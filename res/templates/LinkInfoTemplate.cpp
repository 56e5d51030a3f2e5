#include "res/Templates.h"

namespace {

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::Label, "", 0, 0, 1, 1, kStyleHidden},
};

} // namespace

const DialogTemplate kLinkInfoTemplate = {183, "Link Info", 239, 201, kControls};
