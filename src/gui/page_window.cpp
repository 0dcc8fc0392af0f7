#include "gui/page_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "gui/widgets.h"

namespace corvane {

namespace {

// Before a window of the program is on screen its frame is unknown; this much
// holds the title bar and borders of the common desktops.
constexpr QMargins kFrameAllowance(8, 32, 8, 8);

// The largest size up to the page's that `room` holds, with room for the
// scroll bar of each direction in which the page is cut.
QSize fittedSize(QSize page, QSize room, int scrollBar) {
    bool vertical = page.height() > room.height();
    bool horizontal = page.width() + (vertical ? scrollBar : 0) > room.width();
    vertical = page.height() + (horizontal ? scrollBar : 0) > room.height();
    horizontal = page.width() + (vertical ? scrollBar : 0) > room.width();
    const QSize wanted(page.width() + (vertical ? scrollBar : 0),
                       page.height() + (horizontal ? scrollBar : 0));
    return wanted.boundedTo(room);
}

// A frame moved wholly inside `area`; one larger than the area keeps its top
// left corner inside.
QRect keptInside(QRect frame, const QRect& area) {
    frame.moveRight(std::min(frame.right(), area.right()));
    frame.moveBottom(std::min(frame.bottom(), area.bottom()));
    frame.moveLeft(std::max(frame.left(), area.left()));
    frame.moveTop(std::max(frame.top(), area.top()));
    return frame;
}

int sharedArea(const QRect& a, const QRect& b) {
    const QRect shared = a & b;
    return shared.width() * shared.height();
}

QRect availableAreaOf(const QWidget& window) {
    return window.screen()->availableGeometry();
}

// The frame a window manager puts around a window's client area: as measured
// on a window of the program that is on screen, else the allowance.
QMargins frameMargins(const QWidget* shown = nullptr) {
    if (!shown || !shown->isVisible()) return kFrameAllowance;
    const QRect frame = shown->frameGeometry();
    const QRect client = shown->geometry();
    const QMargins measured(client.left() - frame.left(), client.top() - frame.top(),
                            frame.right() - client.right(), frame.bottom() - client.bottom());
    // Without a window manager there is no frame to measure.
    return measured.isNull() ? kFrameAllowance : measured;
}

}  // namespace

PageWindow::PageWindow(QWidget* parent)
    : QWidget(parent, kFixedSizeWindow), scrollArea_(new QScrollArea(this)), page_(new QWidget) {
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    scrollArea_->setWidget(page_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollArea_);
    // A control that takes the focus, by the keyboard or from a screen
    // reader, scrolls into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && page_->isAncestorOf(now)) scrollArea_->ensureWidgetVisible(now);
    });
}

void PageWindow::setPageSize(QSize size) {
    page_->setFixedSize(size);
    setFixedSize(size);
}

QSize PageWindow::openingSize(QSize pageSize, const QRect& available, const QMargins& frame) const {
    const int scrollBar =
        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scrollArea_->verticalScrollBar());
    return fittedSize(pageSize, available.size().shrunkBy(frame), scrollBar);
}

void PageWindow::fitInto(const QRect& available, const QMargins& frame) {
    setFixedSize(openingSize(page_->size(), available, frame));
}

QPoint PageWindow::openingPosition(const QRect& available, const QMargins& frame) const {
    QRect placed(QPoint(), size().grownBy(frame));
    placed.moveCenter(available.center());
    return keptInside(placed, available).topLeft();
}

void PageWindow::setVisible(bool visible) {
    // Fitted and placed before it first shows, unless whoever opened it did;
    // placed before Qt makes the native window, which then asks for that place.
    if (visible && !testAttribute(Qt::WA_Moved)) {
        const QRect available = availableAreaOf(*this);
        const QMargins frame = frameMargins();
        fitInto(available, frame);
        move(openingPosition(available, frame));
    }
    QWidget::setVisible(visible);
}

QRect PageWindow::fitToScreenOf(const QWidget& other) {
    const QRect available = availableAreaOf(other);
    fitInto(available, frameMargins(&other));
    return available;
}

void PageWindow::keyPressEvent(QKeyEvent* event) {
    if (escapeAction_ && event->matches(QKeySequence::Cancel)) {
        escapeAction_();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PageWindow::placeBeside(const QWidget& other) {
    const QRect available = fitToScreenOf(other);
    const QRect busy = other.frameGeometry();
    const QSize frameSize = size().grownBy(frameMargins(&other));
    std::array<QRect, 3> places = {
        QRect(QPoint(busy.right() + 1, busy.top()), frameSize),
        QRect(QPoint(busy.left() - frameSize.width(), busy.top()), frameSize),
        QRect(QPoint(busy.left(), busy.bottom() + 1), frameSize),
    };
    for (QRect& place : places) place = keptInside(place, available);
    // The first place that leaves `other` wholly free, else the one hiding least of it.
    const QRect chosen = std::ranges::min(
        places, {}, [&busy](const QRect& place) { return sharedArea(place, busy); });
    move(chosen.topLeft());
}

void PageWindow::placeCentredOver(const QWidget& other) {
    const QRect available = fitToScreenOf(other);
    QRect placed(QPoint(), size().grownBy(frameMargins(&other)));
    placed.moveCenter(other.frameGeometry().center());
    move(keptInside(placed, available).topLeft());
}

}  // namespace corvane
