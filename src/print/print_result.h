#pragma once

#include <QString>

namespace corvane {

// What became of a print job. Waiting: the spooler took the job, but its
// destination cannot print it now (a stopped queue, a printer switched off,
// out of paper, …); the job waits in the queue.
enum class PrintOutcome { Printed, NoDefaultPrinter, ServerNotAnswering, Refused, Waiting, Failed };

// A print job's outcome with the spooler's own words: why it refused the job
// or why the job waits; without a default printer, the printers there are.
struct PrintResult {
    PrintOutcome outcome = PrintOutcome::Printed;
    QString reason;

    bool printed() const { return outcome == PrintOutcome::Printed; }
};

inline constexpr const char* kNoDefaultPrinter = "没有找到默认打印机，无法打印。";
inline constexpr const char* kNoDefaultChosen =
    "没有设置默认打印机，无法打印。已安装的打印机：%1。请把其中一台设为默认打印机后重试。"
    "报告内容仍保留在窗口中。";
inline constexpr const char* kServerNotAnswering =
    "打印服务器没有响应，无法打印。报告内容仍保留在窗口中。";
inline constexpr const char* kPrintRefused =
    "打印机拒绝了这份打印作业：%1 报告内容仍保留在窗口中。";
inline constexpr const char* kPrintWaiting =
    "打印作业已送到打印队列，但现在不会打印出来：%1 作业在队列中等待，打印机恢复后才会打印。"
    "报告内容仍保留在窗口中。";
inline constexpr const char* kPrintFailed =
    "打印失败，请检查打印机后重试。报告内容仍保留在窗口中。";

// The message for the user when a print did not succeed; empty for a good one.
QString printProblem(const PrintResult& result);

// Why a printer cannot print now, as its spooler says it, and the words for
// it where the spooler gives none of its own.
enum class PrinterProblem {
    QueueStopped,
    Paused,
    Offline,
    NotConnected,
    PaperOut,
    PaperJam,
    DoorOpen,
    InkOut,
    OutputFull,
    Error
};
QString printerProblemText(PrinterProblem problem);

}  // namespace corvane
