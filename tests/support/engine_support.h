#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "engine/evaluation.h"
#include "engine/rules/diagnosis_tables.h"

namespace corvane::testing {

// Scores from the non-zero values only: scores({{Score::Yin, 12}, {Score::Qi, 7}}).
inline Scores scores(std::initializer_list<std::pair<Score, int>> values) {
    Scores result;
    for (const auto& [score, value] : values) result[score] = static_cast<ScoreValue>(value);
    return result;
}

// Ticks by catalogue number: ticksOf({1, 6, 13}) ticks check1, check6 and check13.
inline Ticks ticksOf(std::initializer_list<int> numbers) {
    Ticks ticks;
    for (int number : numbers) ticks.set(static_cast<std::size_t>(number - 1));
    return ticks;
}

// Rows of one table that hold, numbered from 1 as the evaluator reports them.
inline std::vector<int> matchingRows(const RuleTable& table, const Scores& s) {
    std::vector<int> rows;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        if (table.rows[r].when.holds(s)) rows.push_back(static_cast<int>(r) + 1);
    }
    return rows;
}

// The table id and row (from 1) whose text the diagnosis box ends with.
inline std::pair<std::string, int> finalDiagnosis(const Scores& s) {
    const Evaluation evaluation = evaluate(s, kNoPersonality);
    if (evaluation.diagnosis.empty()) return {"", 0};
    const RowRef last = evaluation.diagnosis.back();
    return {std::string(last.ruleTable().id), last.row + 1};
}

}  // namespace corvane::testing
