#include <gtest/gtest.h>

#include "engine/catalogue.h"
#include "support/engine_support.h"

namespace corvane {
namespace {

using testing::scores;
using testing::ticksOf;

TEST(Catalogue, ControlNamesFollowTheQuestionnaire) {
    EXPECT_EQ(kSymptoms[0].control, "check1");
    EXPECT_EQ(kSymptoms[29].control, "check30");
    EXPECT_EQ(kSymptoms[30].control, "Check31");
    EXPECT_EQ(kSymptoms[78].control, "Check79");
    for (std::size_t i = 0; i < kSymptoms.size(); ++i) {
        const std::string expected = (i < 30 ? "check" : "Check") + std::to_string(i + 1);
        EXPECT_EQ(kSymptoms[i].control, expected);
    }
}

TEST(Catalogue, GroupsAreContiguousRunsWithTheirMaxima) {
    const std::vector<std::pair<Score, int>> runs = {{Score::Yin, 14},    {Score::Yang, 14},
                                                     {Score::Qi, 15},     {Score::Phlegm, 17},
                                                     {Score::Stasis, 11}, {Score::Balanced, 8}};
    std::size_t next = 0;
    for (const auto& [group, count] : runs) {
        for (int k = 0; k < count; ++k, ++next) EXPECT_EQ(kSymptoms[next].group, group) << next + 1;
    }
    EXPECT_EQ(next, kSymptoms.size());
    EXPECT_EQ(kGroupHeadings[0], "阴虚体质");
    EXPECT_EQ(kGroupHeadings[5], "正常体质");
}

TEST(Scoring, NothingTickedGivesZeroes) {
    EXPECT_EQ(computeScores(Ticks{}), Scores{});
}

TEST(Scoring, EverythingTickedGivesEachGroupsMaximum) {
    Ticks all;
    all.set();
    EXPECT_EQ(computeScores(all), scores({{Score::Yin, 57},
                                          {Score::Yang, 71},
                                          {Score::Qi, 88},
                                          {Score::Phlegm, 83},
                                          {Score::Stasis, 75},
                                          {Score::Balanced, 40}}));
}

TEST(Scoring, DuplicatedCaptionsCountOnlyInTheirOwnGroup) {
    EXPECT_EQ(kSymptoms[21].caption, kSymptoms[56].caption);  // 大便溏薄
    EXPECT_EQ(computeScores(ticksOf({22, 57})), scores({{Score::Yang, 10}, {Score::Phlegm, 5}}));
    EXPECT_EQ(kSymptoms[27].caption, kSymptoms[42].caption);  // 脉沉无力
    EXPECT_EQ(computeScores(ticksOf({43})), scores({{Score::Qi, 2}}));
    EXPECT_EQ(computeScores(ticksOf({28})), scores({{Score::Yang, 5}}));
    EXPECT_EQ(computeScores(ticksOf({9, 25})), scores({{Score::Yin, 5}, {Score::Yang, 5}}));
    EXPECT_EQ(computeScores(ticksOf({23, 34})), scores({{Score::Yang, 5}, {Score::Qi, 5}}));
    EXPECT_EQ(computeScores(ticksOf({41, 58})), scores({{Score::Qi, 5}, {Score::Phlegm, 2}}));
}

TEST(Scoring, SingleAndAccumulatedWeights) {
    EXPECT_EQ(computeScores(ticksOf({8})), scores({{Score::Yin, 10}}));
    EXPECT_EQ(computeScores(ticksOf({1, 6, 13})), scores({{Score::Yin, 9}}));
    Ticks balanced;
    for (int number = 72; number <= 79; ++number) {
        balanced.set(static_cast<std::size_t>(number - 1));
        EXPECT_EQ(computeScores(balanced)[Score::Balanced], 5 * (number - 71));
    }
}

TEST(FindSymptom, TakesControlNamesInAnyCaseAndCatalogueNumbers) {
    EXPECT_EQ(findSymptom("check1"), 0);
    EXPECT_EQ(findSymptom("CHECK31"), 30);
    EXPECT_EQ(findSymptom("check79"), 78);
    EXPECT_EQ(findSymptom("1"), 0);
    EXPECT_EQ(findSymptom("79"), 78);
    for (const char* bad :
         {"", "0", "80", "check0", "check80", "Check", "1a", "+5", "-1", "check1 "}) {
        EXPECT_EQ(findSymptom(bad), std::nullopt) << bad;
    }
}

}  // namespace
}  // namespace corvane
