#include <gtest/gtest.h>

#include "engine/rules/condition.h"
#include "engine/rules/rule_index.h"
#include "support/engine_support.h"

namespace corvane {
namespace {

using namespace notation;
using testing::scores;

TEST(Condition, RangeBoundsAreInclusive) {
    constexpr Condition yinMild = Yin.in(2, 10);
    EXPECT_FALSE(yinMild.holds(scores({{Score::Yin, 1}})));
    EXPECT_TRUE(yinMild.holds(scores({{Score::Yin, 2}})));
    EXPECT_TRUE(yinMild.holds(scores({{Score::Yin, 10}})));
    EXPECT_FALSE(yinMild.holds(scores({{Score::Yin, 11}})));
}

TEST(Condition, SingleBoundsAndEqualities) {
    EXPECT_TRUE((Qi >= 16).holds(scores({{Score::Qi, 16}})));
    EXPECT_TRUE((Qi >= 16).holds(scores({{Score::Qi, 32767}})));
    EXPECT_FALSE((Qi >= 16).holds(scores({{Score::Qi, 15}})));
    EXPECT_TRUE((Qi <= 10).holds(scores({{Score::Qi, 10}})));
    EXPECT_FALSE((Qi <= 10).holds(scores({{Score::Qi, 11}})));
    EXPECT_TRUE((Stasis == 5).holds(scores({{Score::Stasis, 5}})));
    EXPECT_FALSE((Stasis == 5).holds(scores({{Score::Stasis, 10}})));
    EXPECT_TRUE((Yin != 0).holds(scores({{Score::Yin, 2}})));
    EXPECT_FALSE((Yin != 0).holds(scores({})));
}

TEST(Condition, RelationsBetweenTwoScores) {
    const Scores lower = scores({{Score::Yin, 4}, {Score::Yang, 7}});
    const Scores equal = scores({{Score::Yin, 7}, {Score::Yang, 7}});
    EXPECT_TRUE((Yin < Yang).holds(lower));
    EXPECT_FALSE((Yin < Yang).holds(equal));
    EXPECT_TRUE((Yin <= Yang).holds(equal));
    EXPECT_TRUE((Yin == Yang).holds(equal));
    EXPECT_TRUE((Yin != Yang).holds(lower));
    EXPECT_TRUE((Yin >= Yang).holds(equal));
    EXPECT_FALSE((Yin > Yang).holds(equal));
    EXPECT_TRUE((Yang > Yin).holds(lower));
}

TEST(Condition, ConjunctionNeedsEveryAtom) {
    constexpr Condition row = Yin.in(2, 10) && Yang.in(2, 10) && Yin < Yang;
    EXPECT_TRUE(row.holds(scores({{Score::Yin, 4}, {Score::Yang, 7}})));
    EXPECT_FALSE(row.holds(scores({{Score::Yin, 7}, {Score::Yang, 4}})));
    EXPECT_FALSE(row.holds(scores({{Score::Yin, 4}, {Score::Yang, 11}})));
    EXPECT_FALSE(row.holds(scores({{Score::Yang, 7}})));
    // Scores the row does not name are not looked at.
    EXPECT_TRUE(row.holds(scores({{Score::Yin, 4}, {Score::Yang, 7}, {Score::Balanced, 40}})));
}

TEST(Condition, AtomsOnOneScoreNarrowEachOther) {
    constexpr Condition both = Yin.in(2, 10) && Yin >= 6 && Yin != 8;
    EXPECT_FALSE(both.holds(scores({{Score::Yin, 5}})));
    EXPECT_TRUE(both.holds(scores({{Score::Yin, 6}})));
    EXPECT_FALSE(both.holds(scores({{Score::Yin, 8}})));
    EXPECT_FALSE((Yin == 5 && Yin == 6).holds(scores({{Score::Yin, 5}})));
}

TEST(Condition, TellsWhichScoresItConstrains) {
    constexpr Condition row = Yin.in(2, 10) && Qi != 0 && Phlegm < Stasis;
    EXPECT_TRUE(row.constrains(Score::Yin));
    EXPECT_TRUE(row.constrains(Score::Qi));
    EXPECT_TRUE(row.constrains(Score::Phlegm));
    EXPECT_TRUE(row.constrains(Score::Stasis));
    EXPECT_FALSE(row.constrains(Score::Yang));
    EXPECT_FALSE(row.constrains(Score::Balanced));
}

TEST(Condition, RejectsTwoRelationsInOneRow) {
    EXPECT_THROW((void)((Yin < Yang) && (Qi < Phlegm)), std::logic_error);
    EXPECT_THROW((void)(Yin.in(0, 40000)), std::out_of_range);
}

// The index cuts each score's range where an atom changes its answer: a row
// alone in the index, or among others, must hold exactly where its condition
// does, on both sides of every cut.
TEST(RuleIndex, AgreesWithEachKindOfAtomOnItsOwn) {
    const std::vector<Rule> rows = {
        {Yin != 5, "!="},       {Yin == 5, "=="},
        {Yin >= 5, ">="},       {Yin <= 5, "<="},
        {Yin.in(3, 7), "in"},   {Yin != 0 && Qi != 0, "two !="},
        {Yin < Qi, "relation"}, {Yin.in(2, 10) && Yin != 6, "in and !="},
    };
    const auto agree = [](const std::vector<const Rule*>& indexed) {
        const RuleIndex index(indexed);
        for (int yin = -2; yin <= 40; ++yin) {
            for (int qi : {0, 1, 5, 6}) {
                const Scores s = scores({{Score::Yin, yin}, {Score::Qi, qi}});
                std::vector<std::size_t> found;
                index.forEachMatch(s, [&](std::size_t position) { found.push_back(position); });
                std::vector<std::size_t> expected;
                for (std::size_t r = 0; r < indexed.size(); ++r) {
                    if (indexed[r]->when.holds(s)) expected.push_back(r);
                }
                ASSERT_EQ(found, expected) << indexed[0]->text << ", Yin " << yin << ", Qi " << qi;
            }
        }
    };
    std::vector<const Rule*> all;
    for (const Rule& rule : rows) {
        agree({&rule});
        all.push_back(&rule);
    }
    agree(all);
}

}  // namespace
}  // namespace corvane
