#include "engine/scores.h"

namespace corvane {

namespace {

constexpr std::array<std::string_view, kScoreCount> kScoreNames = {"Yin",    "Yang",   "Qi",
                                                                   "Phlegm", "Stasis", "Balanced"};

}  // namespace

std::string_view scoreName(Score score) {
    return kScoreNames[Scores::index(score)];
}

std::optional<Score> scoreFromName(std::string_view name) {
    for (Score score : kAllScores) {
        if (scoreName(score) == name) return score;
    }
    return std::nullopt;
}

}  // namespace corvane
