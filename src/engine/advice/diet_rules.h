#pragma once

#include "engine/rules/rule.h"

namespace corvane {

// Diet and conditioning advice for the report's diet box: one row per set of non-zero
// constitution scores (Balanced is never looked at).
extern const RuleTable kDietRules;

}  // namespace corvane
