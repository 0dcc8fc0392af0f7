#pragma once

#include <array>

#include "engine/rules/rule.h"

namespace corvane {

// The diagnosis table is these blocks, evaluated in this order; each writes the diagnosis box.
extern const RuleTable kSingleRules;                   // one constitution at a time
extern const RuleTable kPairRules;                     // two constitutions
extern const RuleTable kYinYangTripleRules;            // yin and yang with qi, phlegm or stasis
extern const RuleTable kYinTripleRules;                // yin with two of qi, phlegm, stasis
extern const RuleTable kYinYangQiQuadRules;            // yin, yang, qi with phlegm or stasis
extern const RuleTable kYinYangPhlegmStasisQuadRules;  // yin, yang, phlegm and stasis
extern const RuleTable kQuintRules;                    // all five deficiency and excess groups

inline const std::array<const RuleTable*, 7> kDiagnosisTables = {
    &kSingleRules,    &kPairRules,          &kYinYangTripleRules,
    &kYinTripleRules, &kYinYangQiQuadRules, &kYinYangPhlegmStasisQuadRules,
    &kQuintRules,
};

}  // namespace corvane
