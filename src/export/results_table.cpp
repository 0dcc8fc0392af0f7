#include "export/results_table.h"

#include <QDir>
#include <string_view>

#include "engine/box.h"
#include "engine/catalogue.h"
#include "input/csv.h"
#include "language/translation.h"
#include "report/utf8.h"

namespace corvane {

namespace {

constexpr std::string_view kRowEnd = "\r\n";

void appendCell(std::string& row, std::string_view text) {
    if (!row.empty()) row.push_back(',');
    input::appendCsvCell(row, text);
}

// What a member typed, as a cell that a spreadsheet program shows as text:
// one that starts like a formula (=, +, -, @) is led by an apostrophe, so that
// it is never run as one.
void appendTypedCell(std::string& row, std::string_view text) {
    const bool formulaLike =
        !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
    std::string cell(formulaLike ? "'" : "");
    appendCell(row, cell.append(text));
}

}  // namespace

std::string resultsHeader() {
    std::string row;
    for (const char* heading : {"行号", "姓名", "性别", "年龄", "文件"}) appendCell(row, heading);
    for (const std::string_view group : kGroupHeadings) appendCell(row, group);
    for (const Box box : kReportBoxes) appendCell(row, heading(box));
    appendCell(row, "错误");
    return row.append(kRowEnd);
}

std::string resultsRow(const MemberResult& result) {
    std::string row;
    appendCell(row, std::to_string(result.line));
    const Particulars& given = result.particulars;
    for (const auto* particular : {&given.name, &given.sex, &given.age}) {
        appendTypedCell(row, particular->value_or(""));
    }
    appendTypedCell(row, result.file);
    for (const Score score : kAllScores) {
        appendCell(row, result.evaluation ? std::to_string(result.evaluation->scores[score]) : "");
    }
    for (const Box box : kReportBoxes) {
        appendCell(row, result.evaluation ? result.evaluation->text(box) : "");
    }
    appendTypedCell(row, result.error);
    return row.append(kRowEnd);
}

ResultsTable::ResultsTable(const QString& folder)
    : path_(QDir(folder).filePath(toQString(kResultsTableName))), file_(path_) {
    file_.append(QByteArray("\xEF\xBB\xBF") + QByteArray::fromStdString(resultsHeader()));
}

void ResultsTable::add(const MemberResult& result) {
    file_.append(QByteArray::fromStdString(resultsRow(result)));
}

std::string ResultsTable::finish(bool replace) {
    return fileProblem(
        path_, file_.finish(replace),
        fillIn(tr("{} exists already; give --overwrite to replace it, or "
                  "--skip-existing to write it again and leave the pages that exist"),
               {shownPath(path_)}));
}

}  // namespace corvane
