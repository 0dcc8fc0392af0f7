// The default printer on Windows, drawn on through Qt's print engine.
#include <QPrinter>
#include <QPrinterInfo>
#include <atomic>

#include "print/page_printer.h"
#include "report/report_layout.h"
#include "report/utf8.h"

namespace corvane {

namespace {

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
PrintResult printOnDefaultPrinter(const ReportContent& content, std::stop_token,
                                  std::chrono::milliseconds) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull()) return {PrintOutcome::NoDefaultPrinter, {}};
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    printer.setDocName(toQString(report_layout::kTitle));
    const EndOfJobWatch watch;
    const PrintResult result = printOnPrinter(content, printer);
    return watch.refused() ? PrintResult{PrintOutcome::Failed, {}} : result;
}

}  // namespace corvane
