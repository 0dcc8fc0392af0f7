#include "export/member_page.h"

#include <QDir>

#include "report/report_page.h"
#include "report/utf8.h"

namespace corvane {

namespace {

// A particular as given: the members' input is UTF-8 once read, and so is
// the command line here.
QString givenText(const std::optional<std::string>& value) {
    return value ? toQString(*value) : QString();
}

}  // namespace

Particulars Particulars::of(const input::BatchRecord& record) {
    return {record.field("name"), record.field("sex"), record.field("age")};
}

ReportContent memberReport(const Evaluation& evaluation, const QDate& date,
                           const Particulars& particulars) {
    ReportContent content = reportContent(evaluation, date);
    content.name = givenText(particulars.name);
    content.sex = givenText(particulars.sex);
    content.age = givenText(particulars.age);
    return content;
}

std::string shownPath(const QString& path) {
    return input::quoted(QDir::toNativeSeparators(path).toStdString());
}

std::string existsAlready(const QString& path, bool batch) {
    return shownPath(path) + " exists already; give --overwrite to replace it" +
           (batch ? " or --skip-existing to leave it" : "");
}

std::string fileProblem(const QString& path, const FileOutcome& outcome,
                        const std::string& whenExists) {
    switch (outcome.kind) {
        case FileOutcome::Kind::Written: return {};
        case FileOutcome::Kind::ExistsAlready: return whenExists;
        case FileOutcome::Kind::Failed: break;
    }
    return "cannot write " + shownPath(path) + ": " + outcome.reason.toStdString();
}

std::string writeMemberPage(const QString& path, const ReportContent& content, bool replace,
                            bool batch) {
    const QByteArray pdf = reportPdf(content);
    if (pdf.isEmpty()) return "cannot make the page of " + shownPath(path);
    return fileProblem(path, writePdfFile(path, pdf, replace), existsAlready(path, batch));
}

}  // namespace corvane
