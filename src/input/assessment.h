#pragma once

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/evaluation.h"

namespace corvane::input {

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

// "check1,Check6,13,口干咽燥": control names in any letter case, catalogue
// numbers or captions. A caption that two groups share is refused with the
// numbers to choose from.
Ticks parseTickList(std::string_view list);
// "Yin=12,Yang=15": missing scores are 0.
Scores parseScoreList(std::string_view list);
int parsePersonality(std::string_view text);

// One line of --batch input: {"ticks": [...]} or {"scores": {...}}, with an
// optional "personality".
Assessment parseBatchLine(std::string_view line);

// A batch line that may also carry text fields its reader accepts, such as
// "name" or "file"; each field is a string or an integer (kept as its digits).
struct BatchRecord {
    Assessment assessment;
    std::vector<std::pair<std::string, std::string>> fields;  // those the line gives

    std::optional<std::string> field(std::string_view key) const;
};
// As parseBatchLine, with the keys of fieldKeys allowed besides the answers.
BatchRecord parseBatchRecord(std::string_view line, std::span<const std::string_view> fieldKeys);

// Input quoted for a message: control characters are shown as \xNN, so that
// nothing typed can act on the terminal the message is written to.
std::string quoted(std::string_view text);

}  // namespace corvane::input
