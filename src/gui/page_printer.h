#pragma once

#include <QString>
#include <chrono>
#include <stop_token>

class QPrinter;

namespace corvane {

struct ReportContent;

// What became of a print job.
enum class PrintOutcome { Printed, NoDefaultPrinter, ServerNotAnswering, Refused, Failed };

// A print job's outcome with the spooler's own words when it refused the job.
struct PrintResult {
    PrintOutcome outcome = PrintOutcome::Printed;
    QString reason;

    bool printed() const { return outcome == PrintOutcome::Printed; }
};

inline constexpr const char* kNoDefaultPrinter = "没有找到默认打印机，无法打印。";
inline constexpr const char* kServerNotAnswering =
    "打印服务器没有响应，无法打印。报告内容仍保留在窗口中。";
inline constexpr const char* kPrintRefused =
    "打印机拒绝了这份打印作业：%1 报告内容仍保留在窗口中。";
inline constexpr const char* kPrintFailed =
    "打印失败，请检查打印机后重试。报告内容仍保留在窗口中。";

// How long a job waits for a print server that does not answer before it
// gives up.
inline constexpr std::chrono::milliseconds kPrintServerBound{10'000};

// The message for the user when a print did not succeed; empty for a good one.
QString printProblem(const PrintResult& result);

// Prints the report page as one page on the printer and ends the job.
PrintResult printOnPrinter(const ReportContent& content, QPrinter& printer);

// Prints the report page on the system's default printer; may run on any
// thread. With CUPS the page goes to the spooler as a PDF document on the
// destination's default paper, a job the spooler refuses is a failure, and no
// wait for the server lasts longer than the bound or past a stop request;
// elsewhere it is drawn on the default QPrinter.
PrintResult printOnDefaultPrinter(const ReportContent& content, std::stop_token stop = {},
                                  std::chrono::milliseconds bound = kPrintServerBound);

}  // namespace corvane
