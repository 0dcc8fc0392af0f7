#pragma once

#include <QLabel>
#include <memory>

class QTextDocument;

namespace corvane {

// A paragraph of a page: wraps like a label, with the lines as close as the
// Windows faces set them, so a text fits the height it was designed for. Its
// text is the one it is made with.
class Paragraph : public QLabel {
public:
    Paragraph(const QString& text, QWidget* parent);
    ~Paragraph() override;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override { return {width(), heightForWidth(width())}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void changeEvent(QEvent* event) override;

private:
    // The text laid out at a width; kept until another width or font is asked for.
    QTextDocument& laidOut(int width) const;

    mutable std::unique_ptr<QTextDocument> document_;
};

}  // namespace corvane
