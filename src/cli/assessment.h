#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/evaluation.h"

namespace corvane::cli {

// One assessment as the evaluator takes it: either ticks or scores, and a
// personality type (kNoPersonality when none is given).
struct Assessment {
    Scores scores;
    int personality = kNoPersonality;
};

// Input that cannot be evaluated; the message says what is wrong with it.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "check1,Check6,13": control names in any letter case or catalogue numbers.
Ticks parseTickList(std::string_view list);
// "Yin=12,Yang=15": missing scores are 0.
Scores parseScoreList(std::string_view list);
int parsePersonality(std::string_view text);

// One line of --batch input: {"ticks": [...]} or {"scores": {...}}, with an
// optional "personality".
Assessment parseBatchLine(std::string_view line);

}  // namespace corvane::cli
