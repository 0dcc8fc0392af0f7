#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include "print/print_result.h"

namespace corvane {

struct ReportContent;

// The steps of handing one document to a print spooler. Each step says
// whether the spooler accepted it; problem() then tells why the last one failed.
class Spooler {
public:
    virtual ~Spooler() = default;

    // Finds the default destination and what it offers.
    virtual bool findDefaultDestination() = 0;
    // The destination's own default paper and the part of it that it prints on.
    virtual QPageLayout defaultPaper() = 0;
    virtual bool createJob(const QString& title) = 0;
    virtual bool startDocument(const QString& title) = 0;
    virtual bool writeDocument(const QByteArray& pdf) = 0;
    virtual bool finishDocument() = 0;
    // Once the job was sent: whether its destination prints it, rather than
    // holding it in the queue because it cannot print now.
    virtual bool destinationPrints() = 0;
    // Takes back a job that was created but not completely sent.
    virtual void cancelJob() = 0;
    virtual PrintResult problem() const = 0;
};

// Sends the report page to the spooler's default destination as a one-page
// PDF document on its default paper, the job and the document named after
// the member and the date. A job counts as printed only once the spooler
// accepted its finished document and its destination prints it; any other
// job it was given is cancelled, except one that waits in the queue.
PrintResult printThroughSpooler(Spooler& spooler, const ReportContent& content);

}  // namespace corvane
