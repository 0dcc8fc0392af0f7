#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "engine/rules/rule.h"

namespace corvane {

// Answers "which rows hold for these scores" for an ordered list of rows
// without walking the rows one by one. For every score, the values where any
// row's atoms change their answer cut the score's range into slices; each
// slice keeps the set of rows whose atoms on that score hold there. A row holds
// when every score's slice allows it and, for the few rows that relate two
// scores, the relation holds too. The answer is exactly that of testing every
// row's condition in turn.
class RuleIndex {
public:
    static constexpr std::size_t kMaxRows = 1024;

    explicit RuleIndex(std::vector<const Rule*> rows);

    std::size_t size() const { return rows_.size(); }
    const Rule& row(std::size_t position) const { return *rows_[position]; }

    // Calls found(position) for every row that holds, in row order.
    template <typename Found>
    void forEachMatch(const Scores& scores, Found found) const {
        Mask candidates = allowedBy(scores);
        for (std::size_t w = 0; w < words_; ++w) {
            for (std::uint64_t bits = candidates[w]; bits != 0; bits &= bits - 1) {
                const std::size_t position =
                    w * 64 + static_cast<std::size_t>(std::countr_zero(bits));
                if (relating_[w] >> (position % 64) & 1u &&
                    !rows_[position]->when.relation().holds(scores)) {
                    continue;
                }
                found(position);
            }
        }
    }

private:
    using Mask = std::array<std::uint64_t, kMaxRows / 64>;

    struct Slices {
        std::vector<ScoreValue> starts;  // ascending; the first is the lowest value
        std::vector<Mask> rowsAllowed;   // one mask per slice
    };

    Mask allowedBy(const Scores& scores) const;
    Slices slicesFor(Score score) const;

    std::vector<const Rule*> rows_;
    std::size_t words_ = 0;
    std::array<Slices, kScoreCount> slices_;
    Mask relating_{};
};

}  // namespace corvane
