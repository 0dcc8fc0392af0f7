#pragma once

#include <array>
#include <bitset>
#include <optional>
#include <string_view>

#include "engine/scores.h"

namespace corvane {

// One symptom of the questionnaire: its check box, caption, group and weight.
struct Symptom {
    std::string_view control;
    std::string_view caption;
    Score group;
    int weight;
};

inline constexpr int kSymptomCount = 79;

// The fixed catalogue, in questionnaire order (check1 ... Check79).
extern const std::array<Symptom, kSymptomCount> kSymptoms;

// The caption of each group's column heading, in score order.
extern const std::array<std::string_view, kScoreCount> kGroupHeadings;

// Ticks in catalogue order: bit i is the box of symptom i + 1.
using Ticks = std::bitset<kSymptomCount>;

Scores computeScores(const Ticks& ticks);

// Finds a symptom by its control name (any letter case) or by its catalogue
// number "1" to "79"; returns the zero-based catalogue index.
std::optional<int> findSymptom(std::string_view nameOrNumber);

}  // namespace corvane
