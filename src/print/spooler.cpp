#include "print/spooler.h"

#include "report/report_content.h"
#include "report/report_page.h"

namespace corvane {

namespace {

bool sendDocument(Spooler& spooler, const QString& title, const QByteArray& pdf) {
    return spooler.startDocument(title) && spooler.writeDocument(pdf) && spooler.finishDocument();
}

}  // namespace

PrintResult printThroughSpooler(Spooler& spooler, const ReportContent& content) {
    if (!spooler.findDefaultDestination()) return spooler.problem();
    const QByteArray pdf = reportPdf(content, spooler.defaultPaper());
    if (pdf.isEmpty()) return {PrintOutcome::Failed, {}};
    const QString title = reportTitle(content.name, content.date);
    if (!spooler.createJob(title)) return spooler.problem();
    if (!sendDocument(spooler, title, pdf)) {
        const PrintResult problem = spooler.problem();
        spooler.cancelJob();
        return problem;
    }
    if (!spooler.destinationPrints()) return spooler.problem();
    return {};
}

}  // namespace corvane
