#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "engine/scores.h"

namespace corvane {

enum class Comparison : std::uint8_t {
    None,
    Less,
    LessEqual,
    Equal,
    NotEqual,
    GreaterEqual,
    Greater
};

// A relation between two scores, such as Yin < Yang.
struct Relation {
    Comparison comparison = Comparison::None;
    Score left = Score::Yin;
    Score right = Score::Yin;

    constexpr bool holds(const Scores& scores) const {
        const int l = scores[left];
        const int r = scores[right];
        switch (comparison) {
            case Comparison::None: return true;
            case Comparison::Less: return l < r;
            case Comparison::LessEqual: return l <= r;
            case Comparison::Equal: return l == r;
            case Comparison::NotEqual: return l != r;
            case Comparison::GreaterEqual: return l >= r;
            case Comparison::Greater: return l > r;
        }
        return false;
    }
};

// A conjunction of atoms over the six scores. Ranges, bounds and equalities
// are kept as one inclusive interval per score; "score != constant" and one
// relation between two scores are kept beside them.
class Condition {
public:
    static constexpr ScoreValue kMin = std::numeric_limits<ScoreValue>::min();
    static constexpr ScoreValue kMax = std::numeric_limits<ScoreValue>::max();

    constexpr Condition() {
        low_.fill(kMin);
        high_.fill(kMax);
    }

    static constexpr Condition between(Score score, int low, int high) {
        Condition c;
        c.low_[Scores::index(score)] = checked(low);
        c.high_[Scores::index(score)] = checked(high);
        return c;
    }

    static constexpr Condition notEqual(Score score, int value) {
        Condition c;
        c.excludedMask_ = bit(score);
        c.excluded_[Scores::index(score)] = checked(value);
        return c;
    }

    static constexpr Condition relation(Score left, Comparison comparison, Score right) {
        Condition c;
        c.relation_ = {comparison, left, right};
        return c;
    }

    // Both conditions must hold.
    friend constexpr Condition operator&&(Condition a, const Condition& b) {
        for (std::size_t k = 0; k < kScoreCount; ++k) {
            a.low_[k] = a.low_[k] > b.low_[k] ? a.low_[k] : b.low_[k];
            a.high_[k] = a.high_[k] < b.high_[k] ? a.high_[k] : b.high_[k];
        }
        a.joinExclusions(b);
        a.joinRelation(b);
        return a;
    }

    constexpr bool holds(const Scores& scores) const {
        for (Score score : kAllScores) {
            if (!allows(score, scores[score])) return false;
        }
        return relation_.holds(scores);
    }

    // Whether the atoms on this one score hold for the value (relations aside).
    constexpr bool allows(Score score, ScoreValue value) const {
        const auto k = Scores::index(score);
        const bool excluded = (excludedMask_ & bit(score)) != 0 && value == excluded_[k];
        return low_[k] <= value && value <= high_[k] && !excluded;
    }

    // The values where allows() may change its answer for the score.
    template <typename Add>
    constexpr void forEachEdge(Score score, Add add) const {
        const auto k = Scores::index(score);
        if (low_[k] != kMin) add(low_[k]);
        if (high_[k] != kMax) add(static_cast<ScoreValue>(high_[k] + 1));
        if ((excludedMask_ & bit(score)) != 0) {
            add(excluded_[k]);
            if (excluded_[k] != kMax) add(static_cast<ScoreValue>(excluded_[k] + 1));
        }
    }

    // Whether the condition says anything about the score.
    constexpr bool constrains(Score score) const {
        const auto k = Scores::index(score);
        return low_[k] != kMin || high_[k] != kMax || (excludedMask_ & bit(score)) != 0 ||
               (relation_.comparison != Comparison::None &&
                (relation_.left == score || relation_.right == score));
    }

    constexpr ScoreValue low(Score score) const { return low_[Scores::index(score)]; }
    constexpr ScoreValue high(Score score) const { return high_[Scores::index(score)]; }
    constexpr const Relation& relation() const { return relation_; }

private:
    static constexpr ScoreValue checked(int value) {
        if (value < kMin || value > kMax) throw std::out_of_range("score bound out of range");
        return static_cast<ScoreValue>(value);
    }

    static constexpr std::uint8_t bit(Score score) {
        return static_cast<std::uint8_t>(1u << Scores::index(score));
    }

    constexpr void joinExclusions(const Condition& other) {
        if ((excludedMask_ & other.excludedMask_) != 0) {
            throw std::logic_error("two exclusions on one score");
        }
        excludedMask_ |= other.excludedMask_;
        for (std::size_t k = 0; k < kScoreCount; ++k) {
            if ((other.excludedMask_ >> k) & 1u) excluded_[k] = other.excluded_[k];
        }
    }

    constexpr void joinRelation(const Condition& other) {
        if (other.relation_.comparison == Comparison::None) return;
        if (relation_.comparison != Comparison::None) {
            throw std::logic_error("a condition holds at most one relation");
        }
        relation_ = other.relation_;
    }

    std::array<ScoreValue, kScoreCount> low_{};
    std::array<ScoreValue, kScoreCount> high_{};
    std::array<ScoreValue, kScoreCount> excluded_{};
    std::uint8_t excludedMask_ = 0;
    Relation relation_{};
};

// The notation the rule tables are written in:
//   Yin.in(2, 10)   2 <= Yin <= 10        Yin >= 16, Yin <= 10
//   Stasis == 5     Yin != 0              Yin < Yang, Yin == Yang, ...
namespace notation {

struct ScoreTerm {
    Score score;

    constexpr Condition in(int low, int high) const { return Condition::between(score, low, high); }
};

constexpr Condition operator>=(ScoreTerm t, int value) {
    return Condition::between(t.score, value, Condition::kMax);
}
constexpr Condition operator<=(ScoreTerm t, int value) {
    return Condition::between(t.score, Condition::kMin, value);
}
constexpr Condition operator==(ScoreTerm t, int value) {
    return Condition::between(t.score, value, value);
}
constexpr Condition operator!=(ScoreTerm t, int value) {
    return Condition::notEqual(t.score, value);
}

constexpr Condition operator<(ScoreTerm a, ScoreTerm b) {
    return Condition::relation(a.score, Comparison::Less, b.score);
}
constexpr Condition operator<=(ScoreTerm a, ScoreTerm b) {
    return Condition::relation(a.score, Comparison::LessEqual, b.score);
}
constexpr Condition operator==(ScoreTerm a, ScoreTerm b) {
    return Condition::relation(a.score, Comparison::Equal, b.score);
}
constexpr Condition operator!=(ScoreTerm a, ScoreTerm b) {
    return Condition::relation(a.score, Comparison::NotEqual, b.score);
}
constexpr Condition operator>=(ScoreTerm a, ScoreTerm b) {
    return Condition::relation(a.score, Comparison::GreaterEqual, b.score);
}
constexpr Condition operator>(ScoreTerm a, ScoreTerm b) {
    return Condition::relation(a.score, Comparison::Greater, b.score);
}

inline constexpr ScoreTerm Yin{Score::Yin};
inline constexpr ScoreTerm Yang{Score::Yang};
inline constexpr ScoreTerm Qi{Score::Qi};
inline constexpr ScoreTerm Phlegm{Score::Phlegm};
inline constexpr ScoreTerm Stasis{Score::Stasis};
inline constexpr ScoreTerm Balanced{Score::Balanced};

}  // namespace notation

}  // namespace corvane
