#pragma once

#include <QMargins>
#include <QWidget>
#include <functional>

class QScrollArea;

namespace corvane {

// A top-level window that shows a page laid out at a fixed size, the designed
// layout. The window opens wholly inside the available area of its screen: as
// large as the page where the area holds it, else as large as the area allows,
// with the page scrolling inside and scroll bars only where it must scroll.
class PageWindow : public QWidget {
    Q_OBJECT

public:
    void setVisible(bool visible) override;

    // The page holding the window's controls at their designed places.
    QWidget* page() const { return page_; }

    // Opens beside `other`, to its right, to its left or below it, where the
    // screen has room; else inside the available area, covering as little of
    // `other` as it can.
    void placeBeside(const QWidget& other);
    // Opens centred over `other`, as far as the available area allows.
    void placeCentredOver(const QWidget& other);

    // What Esc does in the window, unless a control in it takes the key; by
    // default nothing.
    void setEscapeAction(std::function<void()> action) { escapeAction_ = std::move(action); }

protected:
    explicit PageWindow(QWidget* parent = nullptr);

    void setPageSize(QSize size);

    // The client size at which a window with a page of `pageSize` opens in
    // `available`, leaving room for `frame` around it.
    QSize openingSize(QSize pageSize, const QRect& available, const QMargins& frame) const;

    // Where the frame's top left goes when nothing placed the window before it
    // is first shown: the window centred in the available area.
    virtual QPoint openingPosition(const QRect& available, const QMargins& frame) const;

    void keyPressEvent(QKeyEvent* event) override;

private:
    // Sizes the window for the available area of the screen `other` is on and
    // returns that area; the frame is measured on `other`.
    QRect fitToScreenOf(const QWidget& other);
    void fitInto(const QRect& available, const QMargins& frame);

    QScrollArea* scrollArea_;
    QWidget* page_;
    std::function<void()> escapeAction_;
};

}  // namespace corvane
