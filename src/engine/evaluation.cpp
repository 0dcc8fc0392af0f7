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

std::string_view Evaluation::text(Box box) const {
    switch (box) {
        case Box::Diagnosis: return diagnosis.empty() ? "" : diagnosis.back().rule().text;
        case Box::Personality:
            if (personality < 1 || personality > kPersonalityCount) return "";
            return kPersonalityTypes[static_cast<std::size_t>(personality - 1)].advice;
        case Box::Diet:
            return dietRow ? kDietRules.rows[static_cast<std::size_t>(*dietRow)].text : "";
    }
    return "";
}

Evaluation evaluate(const Scores& scores, int personality) {
    Evaluation result;
    result.scores = scores;
    const DiagnosisIndex& diagnosis = diagnosisIndex();
    // Rarely more than two dozen rows hold together: one allocation a run.
    result.diagnosis.reserve(32);
    diagnosis.index.forEachMatch(scores, [&](std::size_t position) {
        result.diagnosis.push_back(diagnosis.refs[position]);
    });
    result.personality = personality;
    dietIndex().forEachMatch(
        scores, [&](std::size_t position) { result.dietRow = static_cast<int>(position); });
    return result;
}

}  // namespace corvane
