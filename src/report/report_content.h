#pragma once

#include <QDate>
#include <QString>

#include "engine/box.h"

namespace corvane {

struct Evaluation;

// What a report says: the particulars typed in, the date, the signature and
// the three result texts. The window shows it, the printer prints it and the
// PDF export writes it, each as the same page.
struct ReportContent {
    QString name;
    QString sex;
    QString age;
    QDate date;  // shown beside 日期 and under the signature
    QString signature;
    PerBox<QString> results;
};

// The date as the report shows it: the system's short date.
QString reportDateText(const QDate& date);

// The report of an evaluation as a new window would show it, dated as given,
// with the usual signature and the particulars still to be filled in.
ReportContent reportContent(const Evaluation& evaluation, const QDate& date);

// Every character a report page can show apart from the particulars and the
// dates: its own texts, each text its result boxes can hold, and printable
// ASCII.
QString reportPageCharacters();

// What a member's report is called wherever it is named: 体质报告_<name or
// 未命名>_<yyyyMMdd>, every character a file name cannot hold replaced by '_'.
// The print job and the PDF's title carry it; a saved report is offered as it
// with .pdf.
QString reportTitle(const QString& name, const QDate& date);
QString reportFileName(const QString& name, const QDate& date);

}  // namespace corvane
