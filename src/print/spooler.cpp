#include "print/spooler.h"

#include "report/report_layout.h"
#include "report/report_page.h"
#include "report/utf8.h"

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
    const QString title = toQString(report_layout::kTitle);
    if (!spooler.createJob(title)) return spooler.problem();
    if (sendDocument(spooler, title, pdf)) return {};
    const PrintResult problem = spooler.problem();
    spooler.cancelJob();
    return problem;
}

}  // namespace corvane
