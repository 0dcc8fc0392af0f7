#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace corvane {

// The windows are laid out in twips, as a form designer measures them: 15 twips
// make a pixel on a 96-dpi screen, and the pixels grow with the screen's
// logical DPI so the layout keeps its proportions next to the scaled fonts.
class Twips {
public:
    explicit Twips(double logicalDpi) : pixelsPerTwip_(logicalDpi / 96.0 / 15.0) {}
    explicit Twips(const QWidget& widget);

    int operator()(int twips) const;
    QRect rect(int left, int top, int width, int height) const;
    QSize size(int width, int height) const { return {(*this)(width), (*this)(height)}; }

private:
    double pixelsPerTwip_;
};

// Places a control at its designed rectangle. A control whose text would be
// clipped in that height (the free faces have taller lines than the Windows
// ones) grows just enough: downwards, or upwards where it sits on a line.
enum class Grow { Down, Up };
void placeAt(QWidget& control, const QRect& designed, Grow grow = Grow::Down);

}  // namespace corvane
