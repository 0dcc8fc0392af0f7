#pragma once

#include "rules/rule.h"

namespace corvane {

// Diet and conditioning advice for Text7: one row per set of non-zero
// constitution scores (Balanced is never looked at).
extern const RuleTable kDietRules;

}  // namespace corvane
