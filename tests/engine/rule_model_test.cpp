#include <gtest/gtest.h>

#include "engine/rules/condition.h"
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

}  // namespace
}  // namespace corvane
