#include "engine/evaluation.h"

#include "engine/advice/diet_rules.h"
#include "engine/advice/personality_advice.h"
#include "engine/rules/diagnosis_tables.h"
#include "engine/rules/rule_index.h"

namespace corvane {

namespace {

// All diagnosis rows in evaluation order, with the table and row of each.
struct DiagnosisIndex {
    RuleIndex index;
    std::vector<RowRef> refs;
};

DiagnosisIndex buildDiagnosisIndex() {
    std::vector<const Rule*> rows;
    std::vector<RowRef> refs;
    for (std::uint16_t t = 0; t < kDiagnosisTables.size(); ++t) {
        const auto& tableRows = kDiagnosisTables[t]->rows;
        for (std::uint16_t r = 0; r < tableRows.size(); ++r) {
            rows.push_back(&tableRows[r]);
            refs.push_back({t, r});
        }
    }
    return {RuleIndex(std::move(rows)), std::move(refs)};
}

const DiagnosisIndex& diagnosisIndex() {
    static const DiagnosisIndex index = buildDiagnosisIndex();
    return index;
}

const RuleIndex& dietIndex() {
    static const RuleIndex index = [] {
        std::vector<const Rule*> rows;
        for (const Rule& rule : kDietRules.rows) rows.push_back(&rule);
        return RuleIndex(std::move(rows));
    }();
    return index;
}

}  // namespace

const RuleTable& RowRef::ruleTable() const {
    return *kDiagnosisTables[table];
}

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
    const DiagnosisIndex& diagnosis = diagnosisIndex();
    diagnosis.index.forEachMatch(
        scores, [&](std::size_t position) { result.diagnosis.add(diagnosis.refs[position]); });
    result.personality = personality;
    dietIndex().forEachMatch(
        scores, [&](std::size_t position) { result.dietRow = static_cast<int>(position); });
    return result;
}

void apply(const Evaluation& evaluation, Report& report) {
    for (const RowRef& ref : evaluation.diagnosis) report.setText(Box::Diagnosis, ref.rule().text);
    if (auto text = evaluation.personalityText()) report.setText(Box::Personality, *text);
    if (auto text = evaluation.dietText()) report.setText(Box::Diet, *text);
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
