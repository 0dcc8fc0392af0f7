#include "export/member_page.h"

#include <QDir>
#include <QStringList>

#include "report/report_page.h"
#include "report/utf8.h"

namespace corvane {

using namespace Qt::StringLiterals;

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

std::vector<std::string> pageNotes(const ReportContent& content) {
    std::vector<std::string> notes;
    if (nameIsCut(content)) {
        notes.emplace_back("the name is too long for the page and is printed cut short");
    }
    for (const UndrawableText& text : undrawableTexts(content)) {
        QStringList characters;
        for (const char32_t character : text.characters.toUcs4()) {
            characters.append(u"'%1' (U+%2)"_s.arg(
                QString::fromUcs4(&character, 1),
                QString::number(character, 16).toUpper().rightJustified(4, u'0')));
        }
        std::string note = "the ";
        note.append(text.field).append(" ").append(input::quoted(text.text.toStdString()));
        note.append(" has characters no installed font can draw, printed blank: ");
        notes.push_back(note.append(characters.join(u", "_s).toStdString()));
    }
    return notes;
}

std::string joinedNotes(const std::vector<std::string>& notes) {
    std::string all;
    for (const std::string& note : notes) all.append(all.empty() ? "" : "; ").append(note);
    return all;
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
