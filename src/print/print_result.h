#pragma once

#include <QString>

namespace corvane {

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

// The message for the user when a print did not succeed; empty for a good one.
QString printProblem(const PrintResult& result);

}  // namespace corvane
