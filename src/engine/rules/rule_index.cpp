#include "engine/rules/rule_index.h"

#include <algorithm>
#include <stdexcept>

namespace corvane {

RuleIndex::RuleIndex(std::vector<const Rule*> rows) : rows_(std::move(rows)) {
    if (rows_.size() > kMaxRows) throw std::length_error("too many rows for one index");
    words_ = (rows_.size() + 63) / 64;
    for (Score score : kAllScores) slices_[Scores::index(score)] = slicesFor(score);
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        if (rows_[r]->when.relation().comparison != Comparison::None)
            relating_[r / 64] |= 1ull << (r % 64);
    }
}

RuleIndex::Slices RuleIndex::slicesFor(Score score) const {
    Slices slices;
    slices.starts.push_back(Condition::kMin);
    for (const Rule* rule : rows_) {
        rule->when.forEachEdge(score, [&](ScoreValue edge) { slices.starts.push_back(edge); });
    }
    std::ranges::sort(slices.starts);
    slices.starts.erase(std::unique(slices.starts.begin(), slices.starts.end()),
                        slices.starts.end());
    // Within a slice no row changes its answer, so its first value speaks for all.
    for (ScoreValue start : slices.starts) {
        Mask allowed{};
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            if (rows_[r]->when.allows(score, start)) allowed[r / 64] |= 1ull << (r % 64);
        }
        slices.rowsAllowed.push_back(allowed);
    }
    return slices;
}

RuleIndex::Mask RuleIndex::allowedBy(const Scores& scores) const {
    Mask result;
    result.fill(~0ull);
    for (Score score : kAllScores) {
        const Slices& slices = slices_[Scores::index(score)];
        const auto slice =
            std::ranges::upper_bound(slices.starts, scores[score]) - slices.starts.begin() - 1;
        const Mask& allowed = slices.rowsAllowed[static_cast<std::size_t>(slice)];
        for (std::size_t w = 0; w < words_; ++w) result[w] &= allowed[w];
    }
    return result;
}

}  // namespace corvane
