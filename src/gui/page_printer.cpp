#include "gui/page_printer.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>
#include <algorithm>

namespace corvane {

namespace {

PrintOutcome failed(const char* problem) {
    return {false, QString::fromUtf8(problem)};
}

// Scales and centres the page's client area in the printable area.
void fitToPage(QPainter& painter, const QSize& source, const QSize& area) {
    const qreal scale = std::min(static_cast<qreal>(area.width()) / source.width(),
                                 static_cast<qreal>(area.height()) / source.height());
    painter.translate((area.width() - source.width() * scale) / 2, 0);
    painter.scale(scale, scale);
}

}  // namespace

PrintOutcome printPage(QWidget& page, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) return failed(kPrintFailed);
    fitToPage(painter, page.size(), QSize(printer.width(), printer.height()));
    page.render(&painter, QPoint(), QRegion(),
                QWidget::DrawWindowBackground | QWidget::DrawChildren);
    if (!painter.end() || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted) {
        return failed(kPrintFailed);
    }
    return {true, {}};
}

PrintOutcome printOnDefaultPrinter(QWidget& page) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull()) return failed(kNoDefaultPrinter);
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    printer.setDocName(page.windowTitle());
    return printPage(page, printer);
}

}  // namespace corvane
