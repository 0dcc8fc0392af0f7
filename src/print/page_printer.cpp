#include "print/page_printer.h"

#include <QPrinter>

#include "report/report_page.h"

namespace corvane {

PrintResult printOnPrinter(const ReportContent& content, QPrinter& printer) {
    if (!ReportPage(content).drawOn(printer) || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted) {
        return {PrintOutcome::Failed, {}};
    }
    return {};
}

}  // namespace corvane
