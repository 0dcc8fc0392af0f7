#include "gui/page_printer.h"

#include <QPrinter>
#include <QPrinterInfo>

#include "gui/report_layout.h"
#include "gui/report_page.h"

#ifdef CORVANE_USE_CUPS
#include <cups/cups.h>

#include <memory>
#endif

namespace corvane {

QString printProblem(PrintOutcome outcome) {
    switch (outcome) {
        case PrintOutcome::Printed: return {};
        case PrintOutcome::NoDefaultPrinter: return QString::fromUtf8(kNoDefaultPrinter);
        case PrintOutcome::Failed: return QString::fromUtf8(kPrintFailed);
    }
    return QString::fromUtf8(kPrintFailed);
}

PrintOutcome printOnPrinter(const ReportContent& content, QPrinter& printer) {
    if (!ReportPage(content).print(printer) || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted) {
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
}

#ifdef CORVANE_USE_CUPS

namespace {

struct FreeDest {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct FreeDestInfo {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};

// The paper the printer takes by default and the part of it that it prints on;
// the paper of a saved report when it does not say.
QPageLayout defaultPaper(cups_dest_t* dest, cups_dinfo_t* info) {
    cups_size_t media{};
    if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, 0, &media) && media.width > 0 &&
        media.length > 0) {
        // CUPS measures media in hundredths of a millimetre.
        const QSizeF paper(media.width / 100.0, media.length / 100.0);
        const QMarginsF margins(media.left / 100.0, media.top / 100.0, media.right / 100.0,
                                media.bottom / 100.0);
        return QPageLayout(QPageSize(paper, QPageSize::Millimeter), QPageLayout::Portrait, margins,
                           QPageLayout::Millimeter);
    }
    return a4Paper();
}

// Sends the document as one job; every step must be accepted, and a job that
// was started but not finished is cancelled.
bool spool(cups_dest_t* dest, cups_dinfo_t* info, const QByteArray& pdf) {
    const QByteArray title = QByteArray(report_layout::kTitle);
    int job = 0;
    if (cupsCreateDestJob(CUPS_HTTP_DEFAULT, dest, info, &job, title.constData(), dest->num_options,
                          dest->options) != IPP_STATUS_OK ||
        job <= 0) {
        return false;
    }
    if (cupsStartDestDocument(CUPS_HTTP_DEFAULT, dest, info, job, title.constData(),
                              CUPS_FORMAT_PDF, 0, nullptr, 1) != HTTP_STATUS_CONTINUE) {
        cupsCancelDestJob(CUPS_HTTP_DEFAULT, dest, job);
        return false;
    }
    const bool written =
        cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(), static_cast<size_t>(pdf.size())) ==
        HTTP_STATUS_CONTINUE;
    const bool finished = cupsFinishDestDocument(CUPS_HTTP_DEFAULT, dest, info) == IPP_STATUS_OK;
    if (written && finished) return true;
    cupsCancelDestJob(CUPS_HTTP_DEFAULT, dest, job);
    return false;
}

}  // namespace

PrintOutcome printOnDefaultPrinter(const ReportContent& content) {
    const std::unique_ptr<cups_dest_t, FreeDest> dest(
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr));
    if (!dest) return PrintOutcome::NoDefaultPrinter;
    const std::unique_ptr<cups_dinfo_t, FreeDestInfo> info(
        cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    if (!info) return PrintOutcome::Failed;
    const QByteArray pdf = reportPdf(content, defaultPaper(dest.get(), info.get()));
    if (pdf.isEmpty() || !spool(dest.get(), info.get(), pdf)) return PrintOutcome::Failed;
    return PrintOutcome::Printed;
}

#else

namespace {

// Qt's Windows print engine tells a page or document that the spooler refused
// at its end only in a message ("QWin32PrintEngine::end: EndDoc failed (...)")
// and then leaves the printer idle as after a good job; the messages of one
// job are watched for that. Jobs are printed on the GUI thread, one at a time.
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
        if (message.startsWith(QLatin1String("QWin32PrintEngine::end:"))) refused_ = true;
        previous_(type, context, message);
    }
    static inline bool refused_ = false;
    static inline QtMessageHandler previous_ = nullptr;
};

}  // namespace

PrintOutcome printOnDefaultPrinter(const ReportContent& content) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull()) return PrintOutcome::NoDefaultPrinter;
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    printer.setDocName(QString::fromUtf8(report_layout::kTitle));
    const EndOfJobWatch watch;
    const PrintOutcome outcome = printOnPrinter(content, printer);
    return watch.refused() ? PrintOutcome::Failed : outcome;
}

#endif

}  // namespace corvane
