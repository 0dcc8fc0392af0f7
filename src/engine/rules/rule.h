#pragma once

#include <span>
#include <string_view>

#include "engine/box.h"
#include "engine/rules/condition.h"

namespace corvane {

// One row of a rule table: when the condition holds, the text replaces the
// whole content of the table's target box.
struct Rule {
    Condition when;
    std::string_view text;
};

// An ordered table of rows that all write the same box.
struct RuleTable {
    std::string_view id;
    Box target;
    std::span<const Rule> rows;
};

}  // namespace corvane
