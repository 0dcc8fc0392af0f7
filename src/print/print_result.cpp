#include "print/print_result.h"

#include "report/utf8.h"

namespace corvane {

QString printProblem(const PrintResult& result) {
    const auto withReason = [&result](const char* message) {
        return toQString(message).arg(result.reason);
    };
    switch (result.outcome) {
        case PrintOutcome::Printed: return {};
        case PrintOutcome::NoDefaultPrinter:
            return result.reason.isEmpty() ? toQString(kNoDefaultPrinter)
                                           : withReason(kNoDefaultChosen);
        case PrintOutcome::ServerNotAnswering: return toQString(kServerNotAnswering);
        case PrintOutcome::Refused:
            if (!result.reason.isEmpty()) return withReason(kPrintRefused);
            break;
        case PrintOutcome::Waiting: return withReason(kPrintWaiting);
        case PrintOutcome::Failed: break;
    }
    return toQString(kPrintFailed);
}

QString printerProblemText(PrinterProblem problem) {
    switch (problem) {
        case PrinterProblem::QueueStopped: return toQString("打印队列已停用。");
        case PrinterProblem::Paused: return toQString("打印机已暂停。");
        case PrinterProblem::Offline: return toQString("打印机脱机。");
        case PrinterProblem::NotConnected:
            return toQString("连接不上打印机，打印机可能已关闭或没有连好。");
        case PrinterProblem::PaperOut: return toQString("打印机缺纸。");
        case PrinterProblem::PaperJam: return toQString("打印机卡纸。");
        case PrinterProblem::DoorOpen: return toQString("打印机的门或盖板开着。");
        case PrinterProblem::InkOut: return toQString("打印机的墨粉或墨水用完了。");
        case PrinterProblem::OutputFull: return toQString("打印机的出纸盒已满。");
        case PrinterProblem::Error: break;
    }
    return toQString("打印机报告了故障。");
}

}  // namespace corvane
