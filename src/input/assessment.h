#pragma once

#include <array>
#include <optional>
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
// The catalogue index (from 0) of one symptom named so; InputError for a name
// that is not a symptom's or stands in two groups.
int symptomIndex(std::string_view name);
// The same, with nothing for a name that is no symptom's.
std::optional<int> knownSymptom(std::string_view name);
// "Yin=12,Yang=15": missing scores are 0.
Scores parseScoreList(std::string_view list);
int parsePersonality(std::string_view text);

// One line of batch input, a JSON object: "ticks" (an array of symptoms) or
// "scores" (an object of scores), an optional "personality" (1 to 5 or a
// type's name), and the member's particulars "name", "sex", "age" and "file",
// each a string or a number, null or blank when not given. Other keys are
// ignored.
struct BatchRecord {
    Assessment assessment;
    std::vector<std::pair<std::string, std::string>> fields;  // the particulars given
    std::vector<std::string> ignored;                         // keys no one reads

    std::optional<std::string> field(std::string_view key) const;
};
// The particulars a batch line may give, in the order the results table has them.
inline constexpr std::array<std::string_view, 4> kParticularKeys = {"name", "sex", "age", "file"};

BatchRecord parseBatchRecord(std::string_view line);

// Input quoted for a message: control characters are shown as \xNN, so that
// nothing typed can act on the terminal the message is written to.
std::string quoted(std::string_view text);

}  // namespace corvane::input
