#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "engine/evaluation.h"
#include "input/assessment.h"
#include "report/pdf_file.h"
#include "report/report_content.h"

namespace corvane {

// The particulars a member's page shows.
struct Particulars {
    std::optional<std::string> name;
    std::optional<std::string> sex;
    std::optional<std::string> age;

    static Particulars of(const input::BatchRecord& record);
};

// A member's page: the report of the evaluation, dated as given, with the
// particulars filled in.
ReportContent memberReport(const Evaluation& evaluation, const QDate& date,
                           const Particulars& particulars);

// What the page cannot show as given: a name cut short, and each character no
// installed font draws, by the text it stands in (U+20BB7 …); one note each.
std::vector<std::string> pageNotes(const ReportContent& content);

// The notes of a page as a batch line tells them: joined by "; ".
std::string joinedNotes(const std::vector<std::string>& notes);

// A path as a message shows it: the system's separators, quoted.
std::string shownPath(const QString& path);

// Why a page's file cannot be written because it exists already, with what
// to give to get past that: --overwrite, and in a batch --skip-existing.
std::string existsAlready(const QString& path, bool batch);

// What went wrong writing the file at path, or nothing; `whenExists` is
// what is said when something is at path already.
std::string fileProblem(const QString& path, const FileOutcome& outcome,
                        const std::string& whenExists);

// Makes the page and writes it as the file at path, replacing what is there
// only with `replace`; says what went wrong, or nothing.
std::string writeMemberPage(const QString& path, const ReportContent& content, bool replace,
                            bool batch);

}  // namespace corvane
