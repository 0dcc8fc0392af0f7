#pragma once

#include <chrono>
#include <stop_token>

#include "print/print_result.h"

class QPrinter;

namespace corvane {

struct ReportContent;

// How long a job waits for a print server that does not answer before it
// gives up.
inline constexpr std::chrono::milliseconds kPrintServerBound{10'000};

// Prints the report page as one page on the printer and ends the job.
PrintResult printOnPrinter(const ReportContent& content, QPrinter& printer);

// Prints the report page on the system's default printer; may run on any
// thread. With CUPS the page goes to the spooler as a PDF document on the
// destination's default paper, a job the spooler refuses is a failure, and no
// wait for the server lasts longer than the bound or past a stop request. On
// Windows it is drawn on the default printer through Qt.
PrintResult printOnDefaultPrinter(const ReportContent& content, std::stop_token stop = {},
                                  std::chrono::milliseconds bound = kPrintServerBound);

}  // namespace corvane
