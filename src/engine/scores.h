#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace corvane {

// The six constitution groups; every score is the weight sum of one group.
enum class Score : std::uint8_t { Yin, Yang, Qi, Phlegm, Stasis, Balanced };

inline constexpr int kScoreCount = 6;

inline constexpr std::array<Score, kScoreCount> kAllScores = {
    Score::Yin, Score::Yang, Score::Qi, Score::Phlegm, Score::Stasis, Score::Balanced};

using ScoreValue = std::int16_t;

struct Scores {
    std::array<ScoreValue, kScoreCount> values{};

    constexpr ScoreValue operator[](Score score) const { return values[index(score)]; }
    constexpr ScoreValue& operator[](Score score) { return values[index(score)]; }
    constexpr bool operator==(const Scores&) const = default;

    static constexpr std::size_t index(Score score) { return static_cast<std::size_t>(score); }
};

// The English names used by the evaluator's input and output ("Yin", "Yang", ...).
std::string_view scoreName(Score score);
std::optional<Score> scoreFromName(std::string_view name);

}  // namespace corvane
