#include "print/cups_spooler.h"

#include <cups/cups.h>

#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

#include "report/report_page.h"
#include "report/utf8.h"

namespace corvane {

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

// How often a wait for the server stops to see whether to go on waiting.
constexpr double kWaitSlice = 0.25;  // seconds
constexpr std::chrono::milliseconds kPollSlice = 250ms;
// How long an accepted job is watched on its way to the printer: the
// scheduler hands it on a moment later, and a printer that is switched off
// shows only then. A job still queued behind others after this is left to it.
constexpr std::chrono::milliseconds kWatchAfterAccepted = 3000ms;
// How long a network printer may take to take a connection.
constexpr std::chrono::milliseconds kDeviceBound = 2000ms;

// A printer-state-reasons keyword that keeps the printer from printing. A
// report or a warning (toner low) does not, nor does a reason not known here
// unless it says it is an error.
std::optional<PrinterProblem> stoppingReason(std::string_view keyword) {
    if (keyword.ends_with("-report") || keyword.ends_with("-warning")) return std::nullopt;
    const bool error = keyword.ends_with("-error");
    if (error) keyword.remove_suffix(std::string_view("-error").size());
    static constexpr std::pair<std::string_view, PrinterProblem> kReasons[] = {
        {"paused", PrinterProblem::Paused},
        {"offline", PrinterProblem::Offline},
        {"shutdown", PrinterProblem::Offline},
        {"connecting-to-device", PrinterProblem::NotConnected},
        {"timed-out", PrinterProblem::NotConnected},
        {"media-empty", PrinterProblem::PaperOut},
        {"media-needed", PrinterProblem::PaperOut},
        {"media-jam", PrinterProblem::PaperJam},
        {"jam", PrinterProblem::PaperJam},
        {"door-open", PrinterProblem::DoorOpen},
        {"cover-open", PrinterProblem::DoorOpen},
        {"interlock-open", PrinterProblem::DoorOpen},
        {"toner-empty", PrinterProblem::InkOut},
        {"marker-supply-empty", PrinterProblem::InkOut},
        {"output-area-full", PrinterProblem::OutputFull},
    };
    for (const auto& [name, problem] : kReasons) {
        if (keyword == name) return problem;
    }
    return error ? std::optional(PrinterProblem::Error) : std::nullopt;
}

// CUPS measures media in hundredths of a millimetre.
QPageLayout pageLayout(const cups_size_t& media) {
    const QSizeF paper(media.width / 100.0, media.length / 100.0);
    const QMarginsF margins(media.left / 100.0, media.top / 100.0, media.right / 100.0,
                            media.bottom / 100.0);
    return QPageLayout(QPageSize(paper, QPageSize::Millimeter), QPageLayout::Portrait, margins,
                       QPageLayout::Millimeter);
}

}  // namespace

// The destination as the server tells it now.
struct CupsSpooler::DestinationState {
    bool stopped = false;
    bool accepting = true;
    std::optional<PrinterProblem> problem;  // the first reason that keeps it from printing
    QString message;                        // printer-state-message: the spooler's own words
    std::string device;                     // device-uri: where the queue sends its jobs

    // Why the destination does not print now, in the spooler's words where it
    // has them; empty when it prints, idle or busy.
    QString whyNotPrinting() const {
        // A queue stopped by its administrator is also paused; what else the
        // printer says tells more.
        std::optional<PrinterProblem> why = problem;
        if (stopped && (!why || why == PrinterProblem::Paused)) why = PrinterProblem::QueueStopped;
        if (!why) return {};
        return message.isEmpty() ? printerProblemText(*why) : message;
    }
};

CupsSpooler::CupsSpooler(std::stop_token stop, std::chrono::milliseconds bound)
    : stop_(std::move(stop)), deadline_(std::chrono::steady_clock::now() + bound) {}

CupsSpooler::~CupsSpooler() {
    cupsFreeDestInfo(info_);
    if (dest_) cupsFreeDests(1, dest_);
    httpClose(http_);
}

int CupsSpooler::keepWaiting(http_t*, void* spooler) {
    auto& self = *static_cast<CupsSpooler*>(spooler);
    self.gaveUp_ =
        self.stop_.stop_requested() || std::chrono::steady_clock::now() >= self.deadline_;
    return self.gaveUp_ ? 0 : 1;
}

// A step that failed because the server went silent or the connection broke
// is the server not answering; otherwise the spooler said why it refused.
bool CupsSpooler::fail(PrintOutcome outcome) {
    if (gaveUp_ || (http_ && httpError(http_) != 0)) {
        problem_ = {PrintOutcome::ServerNotAnswering, {}};
    } else if (outcome == PrintOutcome::Refused) {
        problem_ = {outcome, toQString(cupsLastErrorString())};
    } else {
        problem_ = {outcome, {}};
    }
    return false;
}

bool CupsSpooler::findDefaultDestination() {
    // This thread's idea of the server, read again from the environment.
    cupsSetServer(nullptr);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline_ - std::chrono::steady_clock::now());
    // libcups looks at the flag while it connects; a stop request sets it.
    int cancelled = 0;
    const std::stop_callback cancel(stop_, [&cancelled] { cancelled = 1; });
    http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                         static_cast<int>(std::max(left, 1ms).count()), &cancelled);
    if (!http_) {
        // Nothing listening is no print service, hence no printer; one that
        // lets the connection time out (its host drops the packets) is a
        // server that does not answer.
        gaveUp_ = errno == ETIMEDOUT || stop_.stop_requested() ||
                  std::chrono::steady_clock::now() >= deadline_;
        return fail(PrintOutcome::NoDefaultPrinter);
    }
    httpSetTimeout(http_, kWaitSlice, &CupsSpooler::keepWaiting, this);
    dest_ = cupsGetNamedDest(http_, nullptr, nullptr);
    if (!dest_) return failWithoutDefault();
    info_ = cupsCopyDestInfo(http_, dest_);
    return info_ || fail(PrintOutcome::Failed);
}

// No default destination: the printers the server has, if any, are named.
bool CupsSpooler::failWithoutDefault() {
    if (gaveUp_ || httpError(http_) != 0) return fail(PrintOutcome::NoDefaultPrinter);
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(http_, &dests);
    QStringList names;
    for (int i = 0; i < count; ++i) {
        if (!dests[i].instance) names.append(toQString(dests[i].name));
    }
    cupsFreeDests(count, dests);
    problem_ = {PrintOutcome::NoDefaultPrinter, names.join(u'、')};
    return false;
}

CupsSpooler::DestinationState CupsSpooler::destinationState() {
    DestinationState state;
    const char* uri = cupsGetOption("printer-uri-supported", dest_->num_options, dest_->options);
    if (!uri) return state;
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char* const kWanted[] = {"printer-state", "printer-state-reasons",
                                          "printer-state-message", "printer-is-accepting-jobs",
                                          "device-uri"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  std::size(kWanted), nullptr, kWanted);
    ipp_t* response = cupsDoRequest(http_, request, "/");
    if (!response || ippGetStatusCode(response) > IPP_STATUS_OK_CONFLICTING) {
        ippDelete(response);
        return state;
    }
    state.stopped = ippGetInteger(ippFindAttribute(response, "printer-state", IPP_TAG_ENUM), 0) ==
                    IPP_PSTATE_STOPPED;
    if (ipp_attribute_t* accepting =
            ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN)) {
        state.accepting = ippGetBoolean(accepting, 0) != 0;
    }
    ipp_attribute_t* reasons = ippFindAttribute(response, "printer-state-reasons", IPP_TAG_KEYWORD);
    for (int i = 0; i < ippGetCount(reasons) && !state.problem; ++i) {
        state.problem = stoppingReason(ippGetString(reasons, i, nullptr));
    }
    state.message = toQString(ippGetString(
        ippFindAttribute(response, "printer-state-message", IPP_TAG_TEXT), 0, nullptr));
    if (const char* device =
            ippGetString(ippFindAttribute(response, "device-uri", IPP_TAG_URI), 0, nullptr)) {
        state.device = device;
    }
    ippDelete(response);
    return state;
}

// The job's job-state, or 0 when the server does not tell it.
int CupsSpooler::jobState() {
    const char* uri = cupsGetOption("printer-uri-supported", dest_->num_options, dest_->options);
    if (!uri) return 0;
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job_);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "job-state");
    ipp_t* response = cupsDoRequest(http_, request, "/");
    const int state = ippGetInteger(ippFindAttribute(response, "job-state", IPP_TAG_ENUM), 0);
    ippDelete(response);
    return state;
}

// Waits a moment for the job to move on; false when the job's time is up or
// it was asked to stop.
bool CupsSpooler::waitASlice() {
    for (auto left = kPollSlice; left > 0ms; left -= 50ms) {
        if (stop_.stop_requested() || std::chrono::steady_clock::now() >= deadline_) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// Whether a network printer that takes IPP answers at its address. CUPS
// keeps a job for an IPP printer that is switched off in the queue, printing,
// with no reason to tell it by but the words of a warning; so the printer is
// asked itself. Any other kind of device is taken to answer.
bool CupsSpooler::deviceAnswers(const std::string& device) {
    char scheme[32], user[256], host[256], resource[1024];
    int port = 0;
    if (httpSeparateURI(HTTP_URI_CODING_ALL, device.c_str(), scheme, sizeof scheme, user,
                        sizeof user, host, sizeof host, &port, resource,
                        sizeof resource) < HTTP_URI_STATUS_OK ||
        !QStringList{u"ipp"_s, u"ipps"_s, u"http"_s, u"https"_s}.contains(toQString(scheme))) {
        return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline_ - std::chrono::steady_clock::now());
    http_t* printer =
        httpConnect2(host, port, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1,
                     static_cast<int>(std::clamp(left, 1ms, kDeviceBound).count()), nullptr);
    httpClose(printer);
    return printer != nullptr;
}

// Watches the accepted job until it is printing or printed, or the watch
// ends with it still queued behind others: all of which count as printed.
// A destination that shows it cannot print (a stopped queue, a printer
// switched off, out of paper) leaves the job waiting, told in the spooler's
// words where it has them.
bool CupsSpooler::destinationPrints() {
    const auto watchEnds = std::chrono::steady_clock::now() + kWatchAfterAccepted;
    bool printingBefore = false;
    for (bool deviceAsked = false;; deviceAsked = true) {
        const DestinationState destination = destinationState();
        if (QString why = destination.whyNotPrinting(); !why.isEmpty()) {
            problem_ = {PrintOutcome::Waiting, std::move(why)};
            return false;
        }
        const int state = jobState();
        if (state == IPP_JSTATE_CANCELED || state == IPP_JSTATE_ABORTED) {
            problem_ = {PrintOutcome::Failed, {}};
            return false;
        }
        if (state == 0 || state == IPP_JSTATE_HELD || state == IPP_JSTATE_COMPLETED) return true;
        // The spooler's words then may be of another job's, so these are our own.
        if (!deviceAsked && !deviceAnswers(destination.device)) {
            problem_ = {PrintOutcome::Waiting, printerProblemText(PrinterProblem::NotConnected)};
            return false;
        }
        // A job on its way to the printer, seen so twice, is printing.
        const bool printing = state == IPP_JSTATE_PROCESSING;
        if (printing && printingBefore) return true;
        printingBefore = printing;
        if (std::chrono::steady_clock::now() >= watchEnds || !waitASlice()) return true;
    }
}

// The paper chosen for the destination (lpoptions), else the destination's
// own default (its PPD's or lpadmin's); A4 when it names none that it knows.
QPageLayout CupsSpooler::defaultPaper() {
    QSize size = chosenMediaSize();
    // media-col-default, unlike media-default, also names a paper the PPD
    // calls by a name that is no IPP keyword (lpadmin -o media=Letter).
    if (size.isEmpty()) size = defaultMediaSize();
    cups_size_t media{};
    if (!size.isEmpty() && cupsGetDestMediaBySize(http_, dest_, info_, size.width(), size.height(),
                                                  CUPS_MEDIA_FLAGS_DEFAULT, &media)) {
        return pageLayout(media);
    }
    return a4Paper();
}

// The size of the paper chosen with lpoptions, in hundredths of a millimetre,
// named the way IPP, an older CUPS or a PPD names it (na_letter_8.5x11in,
// Letter, A4); the destination looks up a size whatever its own names are.
QSize CupsSpooler::chosenMediaSize() const {
    const char* chosen = cupsGetOption("media", dest_->num_options, dest_->options);
    if (!chosen) return {};
    const pwg_media_t* paper = pwgMediaForPWG(chosen);
    if (!paper) paper = pwgMediaForLegacy(chosen);
    if (!paper) paper = pwgMediaForPPD(chosen);
    if (!paper) return {};
    return {paper->width, paper->length};
}

// The size in media-col-default, in hundredths of a millimetre.
QSize CupsSpooler::defaultMediaSize() {
    ipp_attribute_t* media = cupsFindDestDefault(http_, dest_, info_, "media-col");
    ipp_t* collection = media ? ippGetCollection(media, 0) : nullptr;
    ipp_attribute_t* sizeAttribute =
        collection ? ippFindAttribute(collection, "media-size", IPP_TAG_BEGIN_COLLECTION) : nullptr;
    ipp_t* size = sizeAttribute ? ippGetCollection(sizeAttribute, 0) : nullptr;
    if (!size) return {};
    return {ippGetInteger(ippFindAttribute(size, "x-dimension", IPP_TAG_INTEGER), 0),
            ippGetInteger(ippFindAttribute(size, "y-dimension", IPP_TAG_INTEGER), 0)};
}

// A queue that refuses jobs tells why in its own words, which its
// administrator gave (cupsreject -r), rather than in CUPS's.
bool CupsSpooler::createJob(const QString& title) {
    const ipp_status_t status = cupsCreateDestJob(
        http_, dest_, info_, &job_, title.toUtf8().constData(), dest_->num_options, dest_->options);
    if (status == IPP_STATUS_OK && job_ > 0) return true;
    if (fail(PrintOutcome::Refused); problem_.outcome == PrintOutcome::Refused) {
        const DestinationState state = destinationState();
        if (!state.accepting && !state.message.isEmpty()) problem_.reason = state.message;
    }
    return false;
}

bool CupsSpooler::startDocument(const QString& title) {
    documentOpen_ = cupsStartDestDocument(http_, dest_, info_, job_, title.toUtf8().constData(),
                                          CUPS_FORMAT_PDF, 0, nullptr, 1) == HTTP_STATUS_CONTINUE;
    return documentOpen_ || fail(PrintOutcome::Refused);
}

// A server that refuses the document part of the way (a request larger than
// it takes) answers and closes the connection; its answer tells why.
bool CupsSpooler::writeDocument(const QByteArray& pdf) {
    if (cupsWriteRequestData(http_, pdf.constData(), static_cast<size_t>(pdf.size())) ==
        HTTP_STATUS_CONTINUE) {
        return true;
    }
    if (!gaveUp_ && !finishDocument()) return false;
    return fail(PrintOutcome::Refused);
}

bool CupsSpooler::finishDocument() {
    documentOpen_ = false;
    return cupsFinishDestDocument(http_, dest_, info_) == IPP_STATUS_OK ||
           fail(PrintOutcome::Refused);
}

void CupsSpooler::cancelJob() {
    // A document still open takes the server's answer first.
    if (documentOpen_) finishDocument();
    if (job_ > 0) cupsCancelDestJob(http_, dest_, job_);
}

}  // namespace corvane
