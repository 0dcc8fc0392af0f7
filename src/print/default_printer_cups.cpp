// The default printer where CUPS is the print service.
#include "print/cups_spooler.h"
#include "print/page_printer.h"

namespace corvane {

PrintResult printOnDefaultPrinter(const ReportContent& content, std::stop_token stop,
                                  std::chrono::milliseconds bound) {
    CupsSpooler spooler(std::move(stop), bound);
    return printThroughSpooler(spooler, content);
}

}  // namespace corvane
