#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/catalogue.h"

// The values of a member's line as people and spreadsheets write them, read
// the same from a CSV cell and a JSON Lines value.
namespace corvane::input {

// A whole number as a spreadsheet writes it: "45" or "45.0"; nothing for
// anything else ("45.5", "45岁", "").
std::optional<long long> wholeNumber(std::string_view text);

// A personality type: 1 to 5, a type's caption (1、开朗平和) or its name
// (开朗平和); blank for none (kNoPersonality). InputError for anything else.
int personalityFromText(std::string_view text);

// An age: a whole number of years from 0 to 150, as its digits; nothing when
// blank. InputError for anything else.
std::optional<std::string> ageFromText(std::string_view text);

// Ticks written in one cell: captions, numbers or control names separated by
// 、，, or blanks.
Ticks ticksFromText(std::string_view text);

// Whether a symptom's cell ticks it: 是, 1, √, ✓, x or X do; a blank cell, 否
// and 0 do not; nothing for anything else.
std::optional<bool> tickMark(std::string_view text);

}  // namespace corvane::input
