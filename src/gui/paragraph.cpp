#include "gui/paragraph.h"

#include <QEvent>
#include <QPainter>
#include <QTextDocument>
#include <cmath>

#include "report/faces.h"

namespace corvane {

Paragraph::Paragraph(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setWordWrap(true);
}

Paragraph::~Paragraph() = default;

int Paragraph::heightForWidth(int width) const {
    return static_cast<int>(std::ceil(laidOut(width).size().height()));
}

void Paragraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    laidOut(width()).drawContents(&painter);
}

void Paragraph::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) document_.reset();
    QLabel::changeEvent(event);
}

QTextDocument& Paragraph::laidOut(int width) const {
    if (!document_ || document_->textWidth() != width) {
        document_ = std::make_unique<QTextDocument>();
        document_->setDocumentMargin(0);
        document_->setDefaultFont(font());
        document_->setPlainText(text());
        setLinePitch(*document_, linePitch(font()));
        document_->setTextWidth(width);
    }
    return *document_;
}

}  // namespace corvane
