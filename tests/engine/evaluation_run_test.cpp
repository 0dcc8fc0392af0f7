#include <gtest/gtest.h>

#include "engine/advice/diet_rules.h"
#include "engine/advice/personality_advice.h"

#include <random>

#include "support/engine_support.h"

namespace corvane {
namespace {

using testing::scores;
using testing::ticksOf;

TEST(EvaluationRun, WorkedExampleFillsAllThreeBoxes) {
    const Evaluation evaluation = evaluate(computeScores(ticksOf({1, 6, 13})), 1);
    EXPECT_EQ(evaluation.scores, scores({{Score::Yin, 9}}));
    EXPECT_EQ(evaluation.text(Box::Diagnosis), kSingleRules.rows[1].text);
    EXPECT_EQ(evaluation.text(Box::Personality), kPersonalityTypes[0].advice);
    EXPECT_EQ(evaluation.text(Box::Diet), kDietRules.rows[0].text);
    EXPECT_EQ(evaluation.dietRow, 0);
}

// Staff assess one member after another: a box that this member's answers do
// not write is empty, whatever an earlier member's report said.
TEST(EvaluationRun, BoxesNoRowWritesAreEmpty) {
    // Equal yin and yang alone (喜冷饮 and 畏寒肢冷) have a diagnosis but no diet row.
    const Evaluation noDiet = evaluate(computeScores(ticksOf({8, 15})), 5);
    EXPECT_EQ(noDiet.text(Box::Diet), "");
    EXPECT_NE(noDiet.text(Box::Diagnosis), "");
    EXPECT_EQ(noDiet.text(Box::Personality), kPersonalityTypes[4].advice);

    const Evaluation nothing = evaluate(Scores{}, kNoPersonality);
    EXPECT_EQ(nothing.text(Box::Diagnosis), "");
    EXPECT_EQ(nothing.text(Box::Personality), "");
    EXPECT_EQ(nothing.text(Box::Diet), "");
}

TEST(EvaluationRun, OnlyBalancedSymptomsGiveNoDietAdvice) {
    const Evaluation evaluation = evaluate(computeScores(ticksOf({72, 73, 74})), kNoPersonality);
    EXPECT_EQ(evaluation.text(Box::Diagnosis), kSingleRules.rows[20].text);
    EXPECT_EQ(evaluation.text(Box::Diet), "");
    EXPECT_EQ(evaluation.text(Box::Personality), "");
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// Walks every row of every table in order, the plain way.
std::vector<RowRef> rowsHoldingOneByOne(const Scores& s) {
    std::vector<RowRef> rows;
    for (std::uint16_t t = 0; t < kDiagnosisTables.size(); ++t) {
        for (std::uint16_t r = 0; r < kDiagnosisTables[t]->rows.size(); ++r) {
            if (kDiagnosisTables[t]->rows[r].when.holds(s)) rows.push_back({t, r});
        }
    }
    return rows;
}

std::optional<int> dietRowOneByOne(const Scores& s) {
    std::optional<int> last;
    for (std::size_t r = 0; r < kDietRules.rows.size(); ++r) {
        if (kDietRules.rows[r].when.holds(s)) last = static_cast<int>(r);
    }
    return last;
}

// Several rows hold here: the diagnosis box ends with the last of them.
TEST(EvaluationRun, TheLastRowThatHoldsDecidesTheDiagnosis) {
    const Scores s =
        scores({{Score::Yin, 12}, {Score::Yang, 15}, {Score::Qi, 7}, {Score::Stasis, 5}});
    const std::vector<RowRef> rows = rowsHoldingOneByOne(s);
    ASSERT_GT(rows.size(), 1u);
    EXPECT_EQ(evaluate(s, 2).text(Box::Diagnosis), rows.back().rule().text);
}

TEST(Evaluate, AgreesWithTestingEveryRowInTurn) {
    // Values on and around every band edge, and beyond anything the catalogue reaches.
    const std::array<ScoreValue, 16> values = {0,  1,  2,  3,  5,  6,   7,   10,
                                               11, 14, 15, 16, 20, 200, 201, 32767};
    std::mt19937 random(2026);
    for (int trial = 0; trial < 50000; ++trial) {
        Scores s;
        for (auto& value : s.values) value = values[random() % values.size()];
        const Evaluation evaluation = evaluate(s, kNoPersonality);
        ASSERT_EQ(evaluation.diagnosis, rowsHoldingOneByOne(s)) << "trial " << trial;
        ASSERT_EQ(evaluation.dietRow, dietRowOneByOne(s)) << "trial " << trial;
    }
}

}  // namespace
}  // namespace corvane
