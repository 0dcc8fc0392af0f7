#include "input/assessment.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <vector>

#include "engine/advice/personality_advice.h"
#include "input/member_values.h"
#include "input/text.h"
#include "language/translation.h"

namespace corvane::input {

namespace {

using nlohmann::json;

// Calls visit for each comma-separated item; an empty list has no items.
template <typename Visit>
void forEachItem(std::string_view list, Visit visit) {
    if (list.empty()) return;
    for (;;) {
        const auto comma = list.find(',');
        visit(list.substr(0, comma));
        if (comma == std::string_view::npos) return;
        list.remove_prefix(comma + 1);
    }
}

std::optional<long long> parseInteger(std::string_view text) {
    long long value = 0;
    const auto* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end) return std::nullopt;
    return value;
}

InputError unknownSymptom(const std::string& shown) {
    return InputError(fillIn(
        tr("unknown symptom {}: use check1 to Check79, 1 to 79 or a caption such as 口干咽燥"),
        {shown}));
}

// "23 (阳虚体质) or 34 (气虚体质)": the symptoms a shared caption may mean.
std::string choices(const std::vector<int>& indices) {
    std::string text;
    for (const int index : indices) {
        const Symptom& symptom = kSymptoms[static_cast<std::size_t>(index)];
        std::string choice = std::to_string(index + 1);
        choice.append(" (").append(kGroupHeadings[Scores::index(symptom.group)]).append(")");
        text = text.empty() ? choice : fillIn(tr("{} or {}"), {text, choice});
    }
    return text;
}

}  // namespace

std::optional<int> knownSymptom(std::string_view name) {
    if (auto index = findSymptom(name)) return *index;
    std::vector<int> captioned;
    for (std::size_t i = 0; i < kSymptoms.size(); ++i) {
        if (kSymptoms[i].caption == name) captioned.push_back(static_cast<int>(i));
    }
    if (captioned.empty()) return std::nullopt;
    if (captioned.size() == 1) return captioned.front();
    throw InputError(fillIn(tr("symptom {} stands in two groups: use {}"),
                            {input::quoted(name), choices(captioned)}));
}

int symptomIndex(std::string_view name) {
    if (auto index = knownSymptom(name)) return *index;
    throw unknownSymptom(input::quoted(name));
}

namespace {

ScoreValue scoreValue(std::string_view name, std::optional<long long> value) {
    if (!value || *value < 0 || *value > 32767) {
        throw InputError(fillIn(tr("score {} must be an integer from 0 to 32767"), {name}));
    }
    return static_cast<ScoreValue>(*value);
}

Score scoreNamed(std::string_view name) {
    if (auto score = scoreFromName(name)) return *score;
    throw InputError(fillIn(tr("unknown score {}: use Yin, Yang, Qi, Phlegm, Stasis or Balanced"),
                            {input::quoted(name)}));
}

int personalityValue(std::optional<long long> value) {
    if (!value || *value < 1 || *value > kPersonalityCount) {
        throw InputError(tr("personality must be an integer from 1 to 5"));
    }
    return static_cast<int>(*value);
}

std::optional<long long> integerOf(const json& value) {
    if (value.is_number_integer()) return value.get<long long>();
    return std::nullopt;
}

// A number or a string as the text a spreadsheet cell would hold: 45, 45.0
// and "45" alike; nothing for anything else.
std::optional<std::string> textOf(const json& value) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_number_integer()) return value.dump();
    if (value.is_number_float()) {
        const double number = value.get<double>();
        if (number >= 0 && number < 1e15 && std::floor(number) == number) {
            return std::to_string(static_cast<long long>(number));
        }
        return value.dump();
    }
    return std::nullopt;
}

int personalityFromJson(const json& value) {
    if (value.is_null()) return kNoPersonality;
    if (const auto text = textOf(value)) return personalityFromText(*text);
    throw InputError(tr("\"personality\" must be 1 to 5 or a type's name"));
}

Scores scoresFromJson(const json& object) {
    if (!object.is_object()) throw InputError(tr("\"scores\" must be an object of score names"));
    Scores scores;
    for (const auto& [name, value] : object.items()) {
        scores[scoreNamed(name)] = scoreValue(name, integerOf(value));
    }
    return scores;
}

// Arrays and objects are named, not printed: printing a value nested a million
// levels deep would recurse as deep and overflow the stack.
std::string describeValue(const json& value) {
    if (value.is_array()) return tr("an array");
    if (value.is_object()) return tr("an object");
    return value.dump();
}

int tickFromJson(const json& item) {
    if (item.is_string()) return symptomIndex(item.get_ref<const std::string&>());
    if (auto number = integerOf(item); number && *number >= 1 && *number <= kSymptomCount) {
        return static_cast<int>(*number - 1);
    }
    throw unknownSymptom(describeValue(item));
}

Ticks ticksFromJson(const json& array) {
    if (!array.is_array()) throw InputError(tr("\"ticks\" must be an array of symptoms"));
    Ticks ticks;
    for (const json& item : array) ticks.set(static_cast<std::size_t>(tickFromJson(item)));
    return ticks;
}

// The JSON parser keeps the last of two equal keys in an object; a line that
// gives a key twice is rejected instead, as --scores rejects a score given twice.
class RepeatedKeyFinder {
public:
    bool operator()(int /*depth*/, json::parse_event_t event, json& parsed) {
        using Event = json::parse_event_t;
        if (event == Event::object_start) openObjects_.emplace_back();
        if (event == Event::object_end) openObjects_.pop_back();
        if (event == Event::key && !repeated_) {
            const auto& key = parsed.get_ref<const std::string&>();
            if (!openObjects_.back().insert(key).second) repeated_ = key;
        }
        return true;
    }
    const std::optional<std::string>& repeated() const { return repeated_; }

private:
    std::vector<std::set<std::string>> openObjects_;  // the keys of each object being read
    std::optional<std::string> repeated_;
};

bool isAnswerKey(std::string_view key) {
    return key == "ticks" || key == "scores" || key == "personality";
}

bool isParticularKey(std::string_view key) {
    return std::ranges::find(kParticularKeys, key) != kParticularKeys.end();
}

json parseObject(std::string_view line) {
    // The parser would take a NUL byte for the end of the line and ignore what follows.
    if (line.find('\0') != std::string_view::npos) throw InputError(tr("a NUL byte in the line"));
    RepeatedKeyFinder finder;
    json object = json::parse(line, std::ref(finder), false);
    if (object.is_discarded()) throw InputError(tr("malformed JSON"));
    if (finder.repeated())
        throw InputError(fillIn(tr("key {} given twice"), {input::quoted(*finder.repeated())}));
    if (!object.is_object()) throw InputError(tr("a line must be one JSON object"));
    return object;
}

// A particular's text, or nothing when null or blank. An age may be written
// as a spreadsheet writes numbers (45.0); the others are strings or integers.
std::optional<std::string> particularOf(const std::string& key, const json& value) {
    if (value.is_null()) return std::nullopt;
    const std::optional<std::string> text = textOf(value);
    if (!text || (key != "age" && value.is_number_float())) {
        throw InputError(fillIn(tr("\"{}\" must be a string or an integer"), {key}));
    }
    if (key == "age") return ageFromText(*text);
    if (trimBlanks(*text).empty()) return std::nullopt;
    return text;
}

}  // namespace

std::string quoted(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "'";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            out.push_back(c);
            continue;
        }
        out.append("\\x").push_back(kHex[byte >> 4]);
        out.push_back(kHex[byte & 0xF]);
    }
    return out + "'";
}

Ticks parseTickList(std::string_view list) {
    Ticks ticks;
    forEachItem(list, [&](std::string_view name) {
        ticks.set(static_cast<std::size_t>(symptomIndex(name)));
    });
    return ticks;
}

Scores parseScoreList(std::string_view list) {
    Scores scores;
    Scores given;
    forEachItem(list, [&](std::string_view item) {
        const auto equals = item.find('=');
        if (equals == std::string_view::npos)
            throw InputError(fillIn(tr("expected NAME=VALUE, got {}"), {input::quoted(item)}));
        const Score score = scoreNamed(item.substr(0, equals));
        if (given[score]) throw InputError(fillIn(tr("score {} given twice"), {scoreName(score)}));
        given[score] = 1;
        scores[score] = scoreValue(scoreName(score), parseInteger(item.substr(equals + 1)));
    });
    return scores;
}

int parsePersonality(std::string_view text) {
    return personalityValue(parseInteger(text));
}

std::optional<std::string> BatchRecord::field(std::string_view key) const {
    for (const auto& [name, value] : fields) {
        if (name == key) return value;
    }
    return std::nullopt;
}

BatchRecord parseBatchRecord(std::string_view line) {
    const json object = parseObject(line);
    const bool hasTicks = object.contains("ticks");
    const bool hasScores = object.contains("scores");
    if (hasTicks == hasScores)
        throw InputError(tr("give either \"ticks\" or \"scores\", not both or neither"));
    BatchRecord record;
    Assessment& assessment = record.assessment;
    assessment.scores =
        hasTicks ? computeScores(ticksFromJson(object["ticks"])) : scoresFromJson(object["scores"]);
    if (object.contains("personality")) {
        assessment.personality = personalityFromJson(object["personality"]);
    }
    for (const auto& [key, value] : object.items()) {
        if (isParticularKey(key)) {
            if (auto text = particularOf(key, value))
                record.fields.emplace_back(key, std::move(*text));
        } else if (!isAnswerKey(key)) {
            record.ignored.push_back(key);
        }
    }
    return record;
}

}  // namespace corvane::input
