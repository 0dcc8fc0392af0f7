// The default printer on Windows, drawn on through Qt's print engine.
#include <windows.h>
#include <winspool.h>

#include <QPrinter>
#include <QPrinterInfo>
#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "print/page_printer.h"
#include "report/report_content.h"

namespace corvane {

namespace {

// Why the printer does not print now, as the spooler's status flags tell it;
// empty when it prints, idle or busy.
QString whyNotPrinting(const QString& printerName) {
    static constexpr std::pair<DWORD, PrinterProblem> kStatuses[] = {
        {PRINTER_STATUS_PAUSED, PrinterProblem::Paused},
        {PRINTER_STATUS_PENDING_DELETION, PrinterProblem::QueueStopped},
        {PRINTER_STATUS_OFFLINE, PrinterProblem::Offline},
        {PRINTER_STATUS_NOT_AVAILABLE, PrinterProblem::NotConnected},
        {PRINTER_STATUS_SERVER_UNKNOWN, PrinterProblem::NotConnected},
        {PRINTER_STATUS_PAPER_OUT, PrinterProblem::PaperOut},
        {PRINTER_STATUS_PAPER_PROBLEM, PrinterProblem::PaperOut},
        {PRINTER_STATUS_PAPER_JAM, PrinterProblem::PaperJam},
        {PRINTER_STATUS_DOOR_OPEN, PrinterProblem::DoorOpen},
        {PRINTER_STATUS_NO_TONER, PrinterProblem::InkOut},
        {PRINTER_STATUS_OUTPUT_BIN_FULL, PrinterProblem::OutputFull},
        {PRINTER_STATUS_USER_INTERVENTION, PrinterProblem::Error},
        {PRINTER_STATUS_ERROR, PrinterProblem::Error},
    };
    std::wstring name = printerName.toStdWString();
    HANDLE printer = nullptr;
    if (!OpenPrinterW(name.data(), &printer, nullptr)) return {};
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    DWORD status = 0;
    bool offline = false;
    if (needed > 0 && GetPrinterW(printer, 2, buffer.data(), needed, &needed)) {
        const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
        status = info->Status;
        offline = (info->Attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE) != 0;
    }
    ClosePrinter(printer);
    if (offline) return printerProblemText(PrinterProblem::Offline);
    for (const auto& [flag, problem] : kStatuses) {
        if (status & flag) return printerProblemText(problem);
    }
    return {};
}

// Qt's Windows print engine tells a page or document that the spooler refused
// at its end only in a message ("QWin32PrintEngine::end: EndDoc failed (...)")
// and then leaves the printer idle as after a good job; the messages of one
// job are watched for that. A window prints one job at a time, off the GUI thread.
class EndOfJobWatch {
public:
    EndOfJobWatch() {
        refused_ = false;
        previous_ = qInstallMessageHandler(&EndOfJobWatch::handle);
    }
    ~EndOfJobWatch() { qInstallMessageHandler(previous_); }
    EndOfJobWatch(const EndOfJobWatch&) = delete;
    EndOfJobWatch& operator=(const EndOfJobWatch&) = delete;

    bool refused() const { return refused_; }

private:
    // Every message still reaches the handler in force before the watch.
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (message.startsWith(u"QWin32PrintEngine::end:")) refused_ = true;
        previous_(type, context, message);
    }
    static inline std::atomic<bool> refused_ = false;
    static inline QtMessageHandler previous_ = nullptr;
};

}  // namespace

// Qt's print engine has no bound or stop of its own; the Windows spooler
// takes the job locally.
// Without a default printer, the printers there are are named.
PrintResult printOnDefaultPrinter(const ReportContent& content, std::stop_token,
                                  std::chrono::milliseconds) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull()) {
        return {PrintOutcome::NoDefaultPrinter, QPrinterInfo::availablePrinterNames().join(u'、')};
    }
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    printer.setDocName(reportTitle(content.name, content.date));
    const EndOfJobWatch watch;
    const PrintResult result = printOnPrinter(content, printer);
    if (watch.refused()) return {PrintOutcome::Failed, {}};
    if (!result.printed()) return result;
    // The spooler took the job; a printer that cannot print now leaves it waiting.
    if (QString why = whyNotPrinting(defaultPrinter.printerName()); !why.isEmpty()) {
        return {PrintOutcome::Waiting, std::move(why)};
    }
    return result;
}

}  // namespace corvane
