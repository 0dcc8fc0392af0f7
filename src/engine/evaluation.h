#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/box.h"
#include "engine/catalogue.h"
#include "engine/rules/rule.h"

namespace corvane {

// A row of one of the diagnosis tables: the table's place in the diagnosis
// order and the row's place in its table, both from 0.
struct RowRef {
    std::uint16_t table;
    std::uint16_t row;

    const RuleTable& ruleTable() const;
    const Rule& rule() const { return ruleTable().rows[row]; }
    bool operator==(const RowRef&) const = default;
};

// Personality types are numbered 1 to 5 like the option buttons; 0 is none chosen.
inline constexpr int kNoPersonality = 0;

// What one run decides: every row is tested, and for each box the last row
// that held decides its text; a box no row wrote is empty.
struct Evaluation {
    Scores scores;
    std::vector<RowRef> diagnosis;  // the rows that held, in evaluation order
    int personality = kNoPersonality;
    std::optional<int> dietRow;  // from 0; the diet rows never hold together

    // The text the box ends with; empty when no row of this run wrote it.
    std::string_view text(Box box) const;
};

// The 诊断 button's evaluation of the scores and the chosen personality type:
// what the report of these answers shows.
Evaluation evaluate(const Scores& scores, int personality);

}  // namespace corvane
