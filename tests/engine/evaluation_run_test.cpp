#include <gtest/gtest.h>

#include "engine/advice/diet_rules.h"
#include "engine/advice/personality_advice.h"

#include <random>
#include "support/engine_support.h"
#include "support/memory_report.h"

namespace corvane {
namespace {

using testing::MemoryReport;
using testing::scores;
using testing::ticksOf;

// Records every call the run makes, in order.
class RecordingReport : public Report {
public:
    void show() override { calls.push_back("show"); }
    void setText(Box box, std::string_view text) override { calls.push_back(call(box, text)); }
    static std::string call(Box box, std::string_view text) {
        const char* name = box == Box::Diagnosis     ? "Text1"
                           : box == Box::Personality ? "Text5"
                                                     : "Text7";
        return std::string(name) + ":" + std::string(text);
    }
    std::vector<std::string> calls;
};

TEST(EvaluationRun, WorkedExampleFillsAllThreeBoxes) {
    MemoryReport report;
    const Evaluation evaluation = runEvaluation(report, ticksOf({1, 6, 13}), 1);
    EXPECT_EQ(evaluation.scores, scores({{Score::Yin, 9}}));
    EXPECT_TRUE(report.shown());
    EXPECT_EQ(report.text(Box::Diagnosis), kSingleRules.rows[1].text);
    EXPECT_EQ(report.text(Box::Personality), kPersonalityTypes[0].advice);
    EXPECT_EQ(report.text(Box::Diet), kDietRules.rows[0].text);
    EXPECT_EQ(evaluation.dietRow, 0);
}

// Staff assess one member after another: nothing of an earlier member's
// report may stay in a box that this member's answers do not write.
TEST(EvaluationRun, BoxesNoRowWritesAreEmpty) {
    MemoryReport report;
    runEvaluation(report, scores({{Score::Yin, 5}, {Score::Phlegm, 5}}), 3);
    ASSERT_EQ(report.text(Box::Diet), kDietRules.rows[8].text);
    ASSERT_NE(report.text(Box::Diagnosis), "");

    // Equal yin and yang alone (喜冷饮 and 畏寒肢冷) have a diagnosis but no diet row.
    runEvaluation(report, ticksOf({8, 15}), 5);
    EXPECT_EQ(report.text(Box::Diet), "");
    EXPECT_NE(report.text(Box::Diagnosis), "");
    EXPECT_EQ(report.text(Box::Personality), kPersonalityTypes[4].advice);

    runEvaluation(report, Ticks{}, kNoPersonality);
    EXPECT_EQ(report.text(Box::Diagnosis), "");
    EXPECT_EQ(report.text(Box::Personality), "");
}

TEST(EvaluationRun, CancelEmptiesOnlyTheDiagnosis) {
    MemoryReport report;
    runEvaluation(report, scores({{Score::Qi, 20}}), 4);
    report.cancel();
    EXPECT_FALSE(report.shown());
    EXPECT_EQ(report.text(Box::Diagnosis), "");
    EXPECT_EQ(report.text(Box::Personality), kPersonalityTypes[3].advice);
    EXPECT_EQ(report.text(Box::Diet), kDietRules.rows[2].text);
    runEvaluation(report, scores({{Score::Qi, 20}}), 4);
    EXPECT_TRUE(report.shown());
}

TEST(EvaluationRun, OnlyBalancedSymptomsGiveNoDietAdvice) {
    MemoryReport report;
    runEvaluation(report, ticksOf({72, 73, 74}), kNoPersonality);
    EXPECT_EQ(report.text(Box::Diagnosis), kSingleRules.rows[20].text);
    EXPECT_EQ(report.text(Box::Diet), "");
    EXPECT_EQ(report.text(Box::Personality), "");
}

TEST(EvaluationRun, SameAnswersGiveTheSameReport) {
    MemoryReport first;
    MemoryReport second;
    const Ticks ticks = ticksOf({2, 15, 29, 44, 61, 72});
    runEvaluation(first, ticks, 2);
    runEvaluation(second, ticks, 2);
    runEvaluation(second, ticks, 2);
    for (Box box : {Box::Diagnosis, Box::Personality, Box::Diet})
        EXPECT_EQ(first.text(box), second.text(box));
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

// Several rows hold here; each writes the diagnosis box in table order, after
// the report is shown and its boxes emptied, and before personality and diet.
TEST(EvaluationRun, ShowsAndEmptiesFirstThenWritesEveryMatchInOrder) {
    const Scores s =
        scores({{Score::Yin, 12}, {Score::Yang, 15}, {Score::Qi, 7}, {Score::Stasis, 5}});
    RecordingReport report;
    runEvaluation(report, s, 2);
    std::vector<std::string> expected = {"show", "Text1:", "Text7:", "Text5:"};
    const std::vector<RowRef> rows = rowsHoldingOneByOne(s);
    ASSERT_GT(rows.size(), 1u);
    for (const RowRef& ref : rows)
        expected.push_back(RecordingReport::call(Box::Diagnosis, ref.rule().text));
    expected.push_back(RecordingReport::call(Box::Personality, kPersonalityTypes[1].advice));
    const std::optional<int> diet = dietRowOneByOne(s);
    ASSERT_TRUE(diet);
    expected.push_back(
        RecordingReport::call(Box::Diet, kDietRules.rows[static_cast<std::size_t>(*diet)].text));
    EXPECT_EQ(report.calls, expected);
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
