#pragma once

#include <QString>

class QPrinter;

namespace corvane {

struct ReportContent;

// What became of a print job.
enum class PrintOutcome { Printed, NoDefaultPrinter, Failed };

inline constexpr const char* kNoDefaultPrinter = "没有找到默认打印机，无法打印。";
inline constexpr const char* kPrintFailed =
    "打印失败，请检查打印机后重试。报告内容仍保留在窗口中。";

// The message for the user when a print did not succeed; empty for a good one.
QString printProblem(PrintOutcome outcome);

// Prints the report page as one page on the printer and ends the job.
PrintOutcome printOnPrinter(const ReportContent& content, QPrinter& printer);

// Prints the report page on the system's default printer. With CUPS the page
// goes to the spooler as a PDF document, and a job the spooler refuses is a
// failure; elsewhere it is drawn on the default QPrinter.
PrintOutcome printOnDefaultPrinter(const ReportContent& content);

}  // namespace corvane
