#include "pages/DialogAccessibility.h"

#include <QLabel>
#include <QWidget>

#include <optional>

namespace {

// How far (dialog units) a label may stand from the control it names.
constexpr int kMaxLeftGap = 40;
constexpr int kMaxAboveGap = 12;
// Rectangles of neighbours may touch or overlap by this much.
constexpr int kSlack = 2;
// A closed drop-down's height; its template height includes the list.
constexpr int kComboHeight = 12;

bool NeedsName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Edit:
    case ControlKind::KeyEdit:
    case ControlKind::ComboList:
    case ControlKind::ComboEdit:
    case ControlKind::ListView:
    case ControlKind::ProgressBar:
        return true;
    case ControlKind::Label:
    case ControlKind::GroupBox:
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::Icon:
        return false;
    }
    return false;
}

int Height(const ControlTemplate& c) {
    const bool combo = c.kind == ControlKind::ComboList || c.kind == ControlKind::ComboEdit;
    return combo ? kComboHeight : c.height;
}

bool Overlap(int a0, int a1, int b0, int b1) {
    return a0 < b1 && b0 < a1;
}

// The gap from label `l` to control `c` when `l` stands left of or above it.
std::optional<int> LabelGap(const ControlTemplate& l, const ControlTemplate& c) {
    const int ch = Height(c);
    if (l.x + l.width <= c.x + kSlack && Overlap(l.y, l.y + l.height, c.y, c.y + ch)) {
        const int gap = c.x - (l.x + l.width);
        if (gap <= kMaxLeftGap) {
            return gap;
        }
    }
    if (l.y + l.height <= c.y + kSlack && Overlap(l.x, l.x + l.width, c.x, c.x + c.width)) {
        const int gap = c.y - (l.y + l.height);
        if (gap <= kMaxAboveGap) {
            return gap;
        }
    }
    return std::nullopt;
}

bool Inside(const ControlTemplate& inner, const ControlTemplate& outer) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + Height(inner) <= outer.y + outer.height;
}

} // namespace

QString AccessibleNameFromLabel(const QString& text) {
    QString name = text;
    name.remove(QLatin1Char('&'));
    name = name.simplified();
    if (name.endsWith(QLatin1Char(':'))) {
        name.chop(1);
    }
    return name.trimmed();
}

void ApplyAccessibility(const DialogTemplate& dialog, std::span<QWidget* const> widgets) {
    const auto& controls = dialog.controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlTemplate& control = controls[i];
        if (!NeedsName(control.kind) || !widgets[i]) {
            continue;
        }
        std::optional<std::size_t> label;
        int best = 0;
        std::optional<std::size_t> frame;
        for (std::size_t j = 0; j < controls.size(); ++j) {
            const ControlTemplate& other = controls[j];
            if (!other.text || !*other.text) {
                continue;
            }
            if (other.kind == ControlKind::Label) {
                const std::optional<int> gap = LabelGap(other, control);
                if (gap && (!label || *gap < best)) {
                    label = j;
                    best = *gap;
                }
            } else if (other.kind == ControlKind::GroupBox && Inside(control, other)) {
                // The innermost frame: the smallest one around the control.
                if (!frame ||
                    other.width * other.height < controls[*frame].width * controls[*frame].height) {
                    frame = j;
                }
            }
        }
        if (label) {
            widgets[i]->setAccessibleName(
                AccessibleNameFromLabel(QString::fromUtf8(controls[*label].text)));
            auto* labelWidget = qobject_cast<QLabel*>(widgets[*label]);
            if (labelWidget && control.kind != ControlKind::ProgressBar) {
                labelWidget->setBuddy(widgets[i]);
            }
        } else if (frame) {
            widgets[i]->setAccessibleName(
                AccessibleNameFromLabel(QString::fromUtf8(controls[*frame].text)));
        }
    }
}
