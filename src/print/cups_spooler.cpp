#include "print/cups_spooler.h"

#include <cups/cups.h>

#include <cerrno>

#include "report/report_page.h"
#include "report/utf8.h"

namespace corvane {

namespace {

// How often a wait for the server stops to see whether to go on waiting.
constexpr double kWaitSlice = 0.25;  // seconds

// CUPS measures media in hundredths of a millimetre.
QPageLayout pageLayout(const cups_size_t& media) {
    const QSizeF paper(media.width / 100.0, media.length / 100.0);
    const QMarginsF margins(media.left / 100.0, media.top / 100.0, media.right / 100.0,
                            media.bottom / 100.0);
    return QPageLayout(QPageSize(paper, QPageSize::Millimeter), QPageLayout::Portrait, margins,
                       QPageLayout::Millimeter);
}

}  // namespace

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
// is the server not answering; otherwise the spooler said why.
bool CupsSpooler::fail(PrintOutcome outcome) {
    if (gaveUp_ || (http_ && httpError(http_) != 0)) {
        problem_ = {PrintOutcome::ServerNotAnswering, {}};
    } else {
        problem_ = {outcome, toQString(cupsLastErrorString())};
    }
    return false;
}

bool CupsSpooler::findDefaultDestination() {
    // This thread's idea of the server, read again from the environment.
    cupsSetServer(nullptr);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline_ - std::chrono::steady_clock::now());
    http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                         static_cast<int>(left.count()), nullptr);
    if (!http_) {
        // Nothing listening is no print service, hence no printer; one that
        // lets the connection time out is a server that does not answer.
        gaveUp_ = errno == ETIMEDOUT;
        return fail(PrintOutcome::NoDefaultPrinter);
    }
    httpSetTimeout(http_, kWaitSlice, &CupsSpooler::keepWaiting, this);
    dest_ = cupsGetNamedDest(http_, nullptr, nullptr);
    if (!dest_) return fail(PrintOutcome::NoDefaultPrinter);
    info_ = cupsCopyDestInfo(http_, dest_);
    return info_ || fail(PrintOutcome::Failed);
}

// The paper chosen for the destination (lpoptions), else the destination's
// own default (its PPD's or lpadmin's); A4 when it names none that it knows.
QPageLayout CupsSpooler::defaultPaper() {
    cups_size_t media{};
    if (const char* chosen = cupsGetOption("media", dest_->num_options, dest_->options)) {
        if (cupsGetDestMediaByName(http_, dest_, info_, chosen, CUPS_MEDIA_FLAGS_DEFAULT, &media)) {
            return pageLayout(media);
        }
    }
    // media-col-default, unlike media-default, also names a paper the PPD
    // calls by a name that is no IPP keyword (lpadmin -o media=Letter).
    const QSize size = defaultMediaSize();
    if (!size.isEmpty() && cupsGetDestMediaBySize(http_, dest_, info_, size.width(), size.height(),
                                                  CUPS_MEDIA_FLAGS_DEFAULT, &media)) {
        return pageLayout(media);
    }
    return a4Paper();
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

bool CupsSpooler::createJob(const QString& title) {
    const ipp_status_t status = cupsCreateDestJob(
        http_, dest_, info_, &job_, title.toUtf8().constData(), dest_->num_options, dest_->options);
    return (status == IPP_STATUS_OK && job_ > 0) || fail(PrintOutcome::Refused);
}

bool CupsSpooler::startDocument(const QString& title) {
    documentOpen_ = cupsStartDestDocument(http_, dest_, info_, job_, title.toUtf8().constData(),
                                          CUPS_FORMAT_PDF, 0, nullptr, 1) == HTTP_STATUS_CONTINUE;
    return documentOpen_ || fail(PrintOutcome::Refused);
}

bool CupsSpooler::writeDocument(const QByteArray& pdf) {
    return cupsWriteRequestData(http_, pdf.constData(), static_cast<size_t>(pdf.size())) ==
               HTTP_STATUS_CONTINUE ||
           fail(PrintOutcome::Refused);
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
