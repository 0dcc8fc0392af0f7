#include "input/member_values.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "engine/advice/personality_advice.h"
#include "engine/evaluation.h"
#include "input/assessment.h"
#include "input/text.h"
#include "language/translation.h"

namespace corvane::input {

namespace {

constexpr long long kOldestAge = 150;

// What parts the symptoms of one cell: 、 ， , and blanks.
constexpr std::array<std::string_view, 6> kTickSeparators = {"、", "，", ",", " ", "\t", "\u3000"};

// The separator the text starts with, or an empty view.
std::string_view separatorAt(std::string_view text) {
    for (const std::string_view separator : kTickSeparators) {
        if (text.starts_with(separator)) return separator;
    }
    return {};
}

// The part of a caption after its number: 开朗平和 of 1、开朗平和.
std::string_view typeName(std::string_view caption) {
    constexpr std::string_view kAfterNumber = "、";
    const std::size_t at = caption.find(kAfterNumber);
    return at == std::string_view::npos ? caption : caption.substr(at + kAfterNumber.size());
}

}  // namespace

std::optional<long long> wholeNumber(std::string_view text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || text.front() == '-' || error != std::errc{}) return std::nullopt;
    std::string_view fraction(stop, static_cast<std::size_t>(end - stop));
    if (fraction.empty()) return value;
    if (fraction.size() < 2 || fraction.front() != '.') return std::nullopt;
    fraction.remove_prefix(1);
    if (!std::ranges::all_of(fraction, [](char c) { return c == '0'; })) return std::nullopt;
    return value;
}

int personalityFromText(std::string_view text) {
    text = trimBlanks(text);
    if (text.empty()) return kNoPersonality;
    if (const auto number = wholeNumber(text); number && *number >= 1 && *number <= 5) {
        return static_cast<int>(*number);
    }
    for (std::size_t i = 0; i < kPersonalityTypes.size(); ++i) {
        const std::string_view caption = kPersonalityTypes[i].caption;
        if (text == caption || text == typeName(caption)) return static_cast<int>(i) + 1;
    }
    throw InputError(fillIn(tr("personality must be 1 to 5 or a type's name such as {}: {}"),
                            {typeName(kPersonalityTypes.front().caption), quoted(text)}));
}

std::optional<std::string> ageFromText(std::string_view text) {
    text = trimBlanks(text);
    if (text.empty()) return std::nullopt;
    const auto years = wholeNumber(text);
    if (!years || *years > kOldestAge) {
        throw InputError(fillIn(tr("age must be a whole number from 0 to {}: {}"),
                                {std::to_string(kOldestAge), quoted(text)}));
    }
    return std::to_string(*years);
}

Ticks ticksFromText(std::string_view text) {
    Ticks ticks;
    while (!text.empty()) {
        if (const std::size_t separator = separatorAt(text).size()) {
            text.remove_prefix(separator);
            continue;
        }
        std::size_t end = 0;
        while (end < text.size() && separatorAt(text.substr(end)).empty()) ++end;
        ticks.set(static_cast<std::size_t>(symptomIndex(text.substr(0, end))));
        text.remove_prefix(end);
    }
    return ticks;
}

std::optional<bool> tickMark(std::string_view text) {
    text = trimBlanks(text);
    for (const std::string_view yes : {"是", "1", "√", "✓", "x", "X"}) {
        if (text == yes) return true;
    }
    for (const std::string_view no : {"", "否", "0"}) {
        if (text == no) return false;
    }
    if (const auto number = wholeNumber(text); number && *number <= 1) return *number == 1;
    return std::nullopt;
}

}  // namespace corvane::input
