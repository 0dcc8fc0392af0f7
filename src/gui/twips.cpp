#include "gui/twips.h"

#include <QLineEdit>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace corvane {

Twips::Twips(const QWidget& widget) : Twips(widget.logicalDpiX()) {}

int Twips::operator()(int twips) const {
    return static_cast<int>(std::lround(twips * pixelsPerTwip_));
}

QRect Twips::rect(int left, int top, int width, int height) const {
    return {(*this)(left), (*this)(top), (*this)(width), (*this)(height)};
}

namespace {

// A line edit shows its text whole at its minimum size, wrapped text needs
// its height at the designed width, a label or a check box its preferred size.
int neededHeight(const QWidget& control, int width) {
    if (qobject_cast<const QLineEdit*>(&control)) return control.minimumSizeHint().height();
    if (control.hasHeightForWidth()) return control.heightForWidth(width);
    // A label placed before its text is set still needs a line's height.
    const int line = control.fontMetrics().height();
    return std::max({line, control.minimumSizeHint().height(), control.sizeHint().height()});
}

}  // namespace

void placeAt(QWidget& control, const QRect& designed, Grow grow) {
    QRect placed = designed;
    const int height = std::max(designed.height(), neededHeight(control, designed.width()));
    if (grow == Grow::Down) {
        placed.setHeight(height);
    } else {
        placed.setTop(designed.bottom() + 1 - height);
    }
    control.setGeometry(placed);
}

}  // namespace corvane
