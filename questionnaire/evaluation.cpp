#include "questionnaire/evaluation.h"

#include "advice/diet_rules.h"
#include "advice/personality_advice.h"
#include "rules/diagnosis_tables.h"

namespace corvane {

const RuleTable& RowRef::ruleTable() const { return *kDiagnosisTables[table]; }

std::optional<std::string_view> Evaluation::diagnosisText() const {
    if (diagnosis.empty()) return std::nullopt;
    return diagnosis.back().rule().text;
}

std::optional<std::string_view> Evaluation::personalityText() const {
    if (personality < 1 || personality > kPersonalityCount) return std::nullopt;
    return kPersonalityTypes[static_cast<std::size_t>(personality - 1)].advice;
}

std::optional<std::string_view> Evaluation::dietText() const {
    if (!dietRow) return std::nullopt;
    return kDietRules.rows[static_cast<std::size_t>(*dietRow)].text;
}

Evaluation evaluate(const Scores& scores, int personality) {
    Evaluation result;
    result.scores = scores;
    for (std::uint16_t t = 0; t < kDiagnosisTables.size(); ++t) {
        const auto& rows = kDiagnosisTables[t]->rows;
        for (std::uint16_t r = 0; r < rows.size(); ++r) {
            if (rows[r].when.holds(scores)) result.diagnosis.add({t, r});
        }
    }
    result.personality = personality;
    for (std::size_t r = 0; r < kDietRules.rows.size(); ++r) {
        if (kDietRules.rows[r].when.holds(scores)) result.dietRow = static_cast<int>(r);
    }
    return result;
}

void apply(const Evaluation& evaluation, Report& report) {
    for (const RowRef& ref : evaluation.diagnosis) report.setText(Box::Text1, ref.rule().text);
    if (auto text = evaluation.personalityText()) report.setText(Box::Text5, *text);
    if (auto text = evaluation.dietText()) report.setText(Box::Text7, *text);
}

Evaluation runEvaluation(Report& report, const Scores& scores, int personality) {
    report.show();
    Evaluation evaluation = evaluate(scores, personality);
    apply(evaluation, report);
    return evaluation;
}

Evaluation runEvaluation(Report& report, const Ticks& ticks, int personality) {
    return runEvaluation(report, computeScores(ticks), personality);
}

}  // namespace corvane
