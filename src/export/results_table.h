#pragma once

#include <QString>
#include <cstddef>
#include <optional>
#include <string>

#include "engine/evaluation.h"
#include "export/member_page.h"
#include "report/pdf_file.h"

namespace corvane {

// What came of one line of a batch, as the results table shows it.
struct MemberResult {
    std::size_t line = 0;
    Particulars particulars;
    std::string file;                      // its page's file name
    std::optional<Evaluation> evaluation;  // none for a line that could not be read
    std::string error;                     // why the line failed
};

// The name of the results table in the pages' folder.
inline constexpr const char* kResultsTableName = "汇总.csv";

// The table's header row and a line's row, each ending in CR LF as
// spreadsheet programs write them: line, name, sex, age, file, the six
// scores, the three texts and the error.
std::string resultsHeader();
std::string resultsRow(const MemberResult& result);

// The results table beside a batch's pages, in UTF-8 with a byte order mark,
// so that spreadsheet programs open its Chinese right: a row for each line,
// added as the line finishes, and the whole table put in place at the end.
class ResultsTable {
public:
    explicit ResultsTable(const QString& folder);

    const QString& path() const { return path_; }
    void add(const MemberResult& result);
    // Puts the table in its place, over an old one only with `replace`; says
    // what went wrong, or nothing.
    std::string finish(bool replace);

private:
    QString path_;
    WholeFile file_;
};

}  // namespace corvane
