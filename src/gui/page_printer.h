#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace corvane {

// What became of a print job; on failure, a message for the user.
struct PrintOutcome {
    bool printed = false;
    QString problem;
};

inline constexpr const char* kNoDefaultPrinter = "没有找到默认打印机，无法打印。";
inline constexpr const char* kPrintFailed =
    "打印失败，请检查打印机后重试。报告内容仍保留在窗口中。";

// Draws the widget as it stands, with its visible children, onto one page of
// the printer, scaled to fit the printable area and drawn at the printer's own
// resolution, then ends the job.
PrintOutcome printPage(QWidget& page, QPrinter& printer);

// printPage on the system's default printer.
PrintOutcome printOnDefaultPrinter(QWidget& page);

}  // namespace corvane
