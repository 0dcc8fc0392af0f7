#include "export/member_page.h"

#include <QDir>
#include <QStringList>

#include "language/translation.h"
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
        notes.emplace_back(tr("the name is too long for the page and is printed cut short"));
    }
    for (const UndrawableText& text : undrawableTexts(content)) {
        QStringList characters;
        for (const char32_t character : text.characters.toUcs4()) {
            characters.append(u"'%1' (U+%2)"_s.arg(
                QString::fromUcs4(&character, 1),
                QString::number(character, 16).toUpper().rightJustified(4, u'0')));
        }
        const char* pattern =
            // TRANSLATORS: {1} is the batch line's key (name, sex, age), {2} the
            // page's heading of it (会员姓名, 性别, 年龄), {3} its text, {4} the characters.
            tr("the {1} {3} has characters no installed font can draw, printed blank: {4}");
        notes.push_back(fillIn(pattern, {text.field, text.heading.toStdString(),
                                         input::quoted(text.text.toStdString()),
                                         characters.join(u", "_s).toStdString()}));
    }
    return notes;
}

std::string joinedNotes(const std::vector<std::string>& notes) {
    std::string all;
    for (const std::string& note : notes)
        all = all.empty() ? note : fillIn(tr("{}; {}"), {all, note});
    return all;
}

std::string shownPath(const QString& path) {
    return input::quoted(QDir::toNativeSeparators(path).toStdString());
}

std::string existsAlready(const QString& path, bool batch) {
    return fillIn(batch ? tr("{} exists already; give --overwrite to replace it or --skip-existing "
                             "to leave it")
                        : tr("{} exists already; give --overwrite to replace it"),
                  {shownPath(path)});
}

std::string fileProblem(const QString& path, const FileOutcome& outcome,
                        const std::string& whenExists) {
    switch (outcome.kind) {
        case FileOutcome::Kind::Written: return {};
        case FileOutcome::Kind::ExistsAlready: return whenExists;
        case FileOutcome::Kind::Failed: break;
    }
    return fillIn(tr("cannot write {}: {}"), {shownPath(path), outcome.reason.toStdString()});
}

std::string writeMemberPage(const QString& path, const ReportContent& content, bool replace,
                            bool batch) {
    const QByteArray pdf = reportPdf(content);
    if (pdf.isEmpty()) return fillIn(tr("cannot make the page of {}"), {shownPath(path)});
    return fileProblem(path, writePdfFile(path, pdf, replace), existsAlready(path, batch));
}

}  // namespace corvane
