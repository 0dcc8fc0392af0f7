#include "report/report_content.h"

#include <QLocale>

#include "engine/advice/diet_rules.h"
#include "engine/advice/personality_advice.h"
#include "engine/evaluation.h"
#include "engine/rules/diagnosis_tables.h"
#include "input/file_names.h"
#include "report/report_layout.h"
#include "report/utf8.h"

namespace corvane {

using namespace Qt::StringLiterals;

namespace layout = report_layout;

QString reportDateText(const QDate& date) {
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

ReportContent reportContent(const Evaluation& evaluation, const QDate& date) {
    ReportContent content;
    content.date = date;
    content.signature = toQString(layout::kSignatureText);
    for (Box box : kReportBoxes) content.results[box] = toQString(evaluation.text(box));
    return content;
}

QString reportPageCharacters() {
    QString characters;
    for (char16_t c = u' '; c <= u'~'; ++c) characters.append(QChar(c));
    const auto add = [&characters](std::string_view text) { characters.append(toQString(text)); };
    for (const char* text :
         {layout::kIntroductionText, layout::kSignatureText, layout::kNameHeading.caption,
          layout::kSexHeading.caption, layout::kAgeHeading.caption, layout::kDateHeading.caption}) {
        add(text);
    }
    for (const Box box : kReportBoxes) add(heading(box));
    for (const RuleTable* table : kDiagnosisTables) {
        for (const Rule& row : table->rows) add(row.text);
    }
    for (const Rule& row : kDietRules.rows) add(row.text);
    for (const PersonalityType& type : kPersonalityTypes) add(type.advice);
    return characters;
}

QString reportTitle(const QString& name, const QDate& date) {
    const QString part = toQString(input::fileNamePart(name.toStdString()));
    return u"体质报告_%1_%2"_s.arg(part.isEmpty() ? u"未命名"_s : part,
                                   date.toString(u"yyyyMMdd"_s));
}

QString reportFileName(const QString& name, const QDate& date) {
    return reportTitle(name, date) + u".pdf"_s;
}

}  // namespace corvane
