#pragma once

#include <array>
#include <string_view>

namespace corvane {

// A personality type offered by the questionnaire and its advice for the
// report's personality box.
struct PersonalityType {
    std::string_view caption;  // the label beside the option button
    std::string_view advice;
};

inline constexpr int kPersonalityCount = 5;

extern const std::array<PersonalityType, kPersonalityCount> kPersonalityTypes;

}  // namespace corvane
