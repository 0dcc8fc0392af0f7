#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "support/engine_support.h"

namespace corvane {
namespace {

using testing::finalDiagnosis;
using testing::matchingRows;
using testing::scores;

struct Band {
    int low;
    int high;
};
constexpr Band kMild{2, 10};
constexpr Band kModerate{11, 15};
constexpr Band kSevere{16, Condition::kMax};
constexpr Band kHeavier{11, Condition::kMax};
constexpr std::array<Band, 3> kBands = {kMild, kModerate, kSevere};

using BandsByScore = std::map<Score, Band>;

// Checks that a row tests exactly these scores, each by exactly this band.
void expectBands(const RuleTable& table, int row, const BandsByScore& expected) {
    SCOPED_TRACE(std::string(table.id) + " row " + std::to_string(row));
    const Condition& when = table.rows[static_cast<std::size_t>(row - 1)].when;
    EXPECT_EQ(when.relation().comparison, Comparison::None);
    for (Score score : kAllScores) {
        const auto band = expected.find(score);
        ASSERT_EQ(when.constrains(score), band != expected.end()) << scoreName(score);
        if (band == expected.end()) continue;
        EXPECT_EQ(when.low(score), band->second.low) << scoreName(score);
        EXPECT_EQ(when.high(score), band->second.high) << scoreName(score);
    }
}

TEST(DiagnosisTables, HaveTheirRowCountsInOrder) {
    const std::vector<std::pair<std::string_view, std::size_t>> expected = {
        {"single", 21},
        {"pair", 139},
        {"yin-yang-triple", 81},
        {"yin-triple", 69},
        {"yin-yang-qi-quad", 162},
        {"yin-yang-phlegm-stasis-quad", 81},
        {"quint", 86}};
    std::size_t total = 0;
    for (std::size_t t = 0; t < expected.size(); ++t) {
        EXPECT_EQ(kDiagnosisTables[t]->id, expected[t].first);
        EXPECT_EQ(kDiagnosisTables[t]->rows.size(), expected[t].second);
        EXPECT_EQ(kDiagnosisTables[t]->target, Box::Diagnosis);
        total += kDiagnosisTables[t]->rows.size();
    }
    EXPECT_EQ(total, 639u);
}

TEST(SingleRules, EachScoreHasItsOwnBands) {
    const std::vector<std::tuple<Score, int, int>> rows = {
        {Score::Yin, 2, 6},      {Score::Yin, 7, 15},       {Score::Yin, 16, 200},
        {Score::Yang, 1, 5},     {Score::Yang, 6, 10},      {Score::Yang, 11, 15},
        {Score::Yang, 16, 200},  {Score::Qi, 2, 5},         {Score::Qi, 6, 10},
        {Score::Qi, 11, 15},     {Score::Qi, 16, 200},      {Score::Phlegm, 2, 5},
        {Score::Phlegm, 6, 10},  {Score::Phlegm, 11, 15},   {Score::Phlegm, 16, 200},
        {Score::Stasis, 5, 5},   {Score::Stasis, 6, 10},    {Score::Stasis, 11, 200},
        {Score::Balanced, 5, 5}, {Score::Balanced, 10, 10}, {Score::Balanced, 15, 200}};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto [score, low, high] = rows[r];
        expectBands(kSingleRules, static_cast<int>(r) + 1, {{score, {low, high}}});
    }
}

TEST(SingleRules, BandEdges) {
    const std::vector<std::tuple<Score, int, std::vector<int>>> cases = {
        {Score::Yin, 6, {1}},        {Score::Yin, 7, {2}},        {Score::Yin, 15, {2}},
        {Score::Yin, 16, {3}},       {Score::Yang, 2, {4}},       {Score::Yang, 5, {4}},
        {Score::Yang, 6, {5}},       {Score::Yang, 10, {5}},      {Score::Yang, 11, {6}},
        {Score::Yang, 16, {7}},      {Score::Qi, 2, {8}},         {Score::Qi, 5, {8}},
        {Score::Qi, 6, {9}},         {Score::Phlegm, 2, {12}},    {Score::Stasis, 5, {16}},
        {Score::Stasis, 10, {17}},   {Score::Stasis, 15, {18}},   {Score::Balanced, 5, {19}},
        {Score::Balanced, 10, {20}}, {Score::Balanced, 15, {21}}, {Score::Balanced, 40, {21}},
        {Score::Yin, 0, {}},         {Score::Yang, 3, {4}},       {Score::Stasis, 4, {}}};
    for (const auto& [score, value, rows] : cases) {
        EXPECT_EQ(matchingRows(kSingleRules, scores({{score, value}})), rows)
            << scoreName(score) << " " << value;
    }
}

TEST(SingleRules, TextsKeepTheirQuirks) {
    EXPECT_TRUE(kSingleRules.rows[2].text.ends_with("作用。\""));
    EXPECT_TRUE(kSingleRules.rows[1].text.ends_with("调理。 "));
    EXPECT_TRUE(kSingleRules.rows[19].text.ends_with("肝功能。操作"));
    EXPECT_TRUE(kSingleRules.rows[0].text.starts_with("  轻度阴虚,"));
}

// The order of each pair block: first score band, then second score, then its band.
TEST(PairRules, FollowThePairOrder) {
    const auto bandIndex = [](int low) { return low >= 16 ? 2 : (low >= 11 ? 1 : 0); };
    std::tuple<int, int, int, int> previous{-1, -1, -1, -1};
    for (std::size_t r = 0; r < kPairRules.rows.size(); ++r) {
        const Condition& when = kPairRules.rows[r].when;
        std::vector<Score> named;
        for (Score score : kAllScores) {
            if (when.constrains(score)) named.push_back(score);
        }
        ASSERT_EQ(named.size(), 2u) << "row " << r + 1;
        EXPECT_FALSE(when.constrains(Score::Balanced));
        const std::tuple<int, int, int, int> key{
            static_cast<int>(named[0]), bandIndex(when.low(named[0])), static_cast<int>(named[1]),
            bandIndex(when.low(named[1]))};
        EXPECT_LE(previous, key) << "row " << r + 1;
        previous = key;
    }
    // Where the first score changes.
    EXPECT_TRUE(kPairRules.rows[58].when.constrains(Score::Yin));
    EXPECT_FALSE(kPairRules.rows[59].when.constrains(Score::Yin));
    EXPECT_TRUE(kPairRules.rows[102].when.constrains(Score::Yang));
    EXPECT_TRUE(kPairRules.rows[103].when.constrains(Score::Qi));
    EXPECT_TRUE(kPairRules.rows[129].when.constrains(Score::Qi));
    EXPECT_TRUE(kPairRules.rows[130].when.constrains(Score::Phlegm));
}

// Checks that a pair row tests exactly these two scores by these bands, and
// returns the relation it adds between them (first on the left), if any.
Comparison expectPairRow(std::size_t row, Score first, Band firstBand, Score second,
                         Band secondBand) {
    SCOPED_TRACE("pair row " + std::to_string(row + 1));
    const Condition& when = kPairRules.rows[row].when;
    for (Score score : kAllScores) {
        EXPECT_EQ(when.constrains(score), score == first || score == second) << scoreName(score);
    }
    using Bounds = std::pair<int, int>;
    EXPECT_EQ(Bounds(when.low(first), when.high(first)), Bounds(firstBand.low, firstBand.high));
    EXPECT_EQ(Bounds(when.low(second), when.high(second)), Bounds(secondBand.low, secondBand.high));
    const Relation& relation = when.relation();
    if (relation.comparison != Comparison::None) {
        EXPECT_EQ(std::pair(relation.left, relation.right), std::pair(first, second));
    }
    return relation.comparison;
}

// Every pair row in turn, as the scheme of the table makes them: for each pair
// of constitutions, by the first score's band and then the second's, one row
// where the bands differ and one for each relation where they are the same.
TEST(PairRules, EveryRowHasTheBandsOfItsPlaceInTheScheme) {
    using enum Comparison;
    constexpr Score Y = Score::Yin, G = Score::Yang, Q = Score::Qi, P = Score::Phlegm,
                    S = Score::Stasis;
    std::size_t row = 0;
    // The rows of one pair of bands, in any order of their relations.
    const auto expectGroup = [&](Score first, Band firstBand, Score second, Band secondBand,
                                 std::set<Comparison> relations) {
        std::set<Comparison> seen;
        for (std::size_t k = 0; k < relations.size() && row < kPairRules.rows.size(); ++k) {
            const Condition& when = kPairRules.rows[row].when;
            // Mild yin above or equal to yang names yang up to 15.
            const bool wideYang = first == Y && second == G && firstBand.low == kMild.low &&
                                  secondBand.low == kMild.low && when.relation().comparison != Less;
            seen.insert(expectPairRow(row++, first, firstBand, second,
                                      wideYang ? Band{2, 15} : secondBand));
        }
        EXPECT_EQ(seen, relations) << "the group ending at pair row " << row;
    };
    const std::set<Comparison> allThree = {Less, Greater, Equal};
    const std::vector<std::pair<Score, std::vector<Score>>> partners = {
        {Y, {G, Q, P, S}}, {G, {Q, P, S}}, {Q, {P, S}}};
    for (const auto& [first, seconds] : partners) {
        for (std::size_t i = 0; i < kBands.size(); ++i) {
            for (const Score second : seconds) {
                for (std::size_t j = 0; j < kBands.size(); ++j) {
                    if (i != j) {
                        expectGroup(first, kBands[i], second, kBands[j], {None});
                    } else if (second == S && i == 1) {  // moderate stasis can only be 15
                        expectGroup(first, kBands[i], second, kBands[j], {Less, Equal});
                    } else if (first == Q && second == S && i == 2) {
                        expectGroup(first, kBands[i], second, kBands[j], {None});
                    } else {
                        expectGroup(first, kBands[i], second, kBands[j], allThree);
                    }
                }
            }
        }
    }
    // Phlegm with stasis: mild phlegm as the scheme has it, then heavier phlegm.
    for (std::size_t j = 0; j < kBands.size(); ++j) {
        expectGroup(P, kMild, S, kBands[j], j == 0 ? allThree : std::set<Comparison>{None});
    }
    expectGroup(P, kHeavier, S, kMild, {None});
    expectGroup(P, kHeavier, S, kHeavier, allThree);
    EXPECT_EQ(row, kPairRules.rows.size());
}

// Within one band the rows say which score is higher, or that both are equal:
// for any two constitutions at most one row holds, and in the mild band one does.
TEST(PairRules, AtMostOneRowHoldsForAnyTwoScores) {
    const std::array<Score, 5> constitutions = {Score::Yin, Score::Yang, Score::Qi, Score::Phlegm,
                                                Score::Stasis};
    for (std::size_t i = 0; i < constitutions.size(); ++i) {
        for (std::size_t j = i + 1; j < constitutions.size(); ++j) {
            for (int a = 0; a <= 25; ++a) {
                for (int b = 0; b <= 25; ++b) {
                    const Scores s = scores({{constitutions[i], a}, {constitutions[j], b}});
                    const auto rows = matchingRows(kPairRules, s);
                    EXPECT_LE(rows.size(), 1u) << scoreName(constitutions[i]) << " " << a << ", "
                                               << scoreName(constitutions[j]) << " " << b;
                    if (a >= 2 && a <= 10 && b >= 2 && b <= 10) {
                        EXPECT_EQ(rows.size(), 1u);
                    }
                }
            }
        }
    }
}

TEST(YinYangTripleRules, FormTheYinYangThirdScoreGrid) {
    const std::array<Score, 3> thirds = {Score::Qi, Score::Phlegm, Score::Stasis};
    for (int i = 0; i < 3; ++i)
        for (int y = 0; y < 3; ++y)
            for (int c = 0; c < 3; ++c)
                for (int b = 0; b < 3; ++b) {
                    const int row = 27 * i + 9 * y + 3 * c + b + 1;
                    const Band yang = row == 39 ? kMild : kBands[y];  // names mild yang
                    expectBands(
                        kYinYangTripleRules, row,
                        {{Score::Yin, kBands[i]}, {Score::Yang, yang}, {thirds[c], kBands[b]}});
                }
}

TEST(YinTripleRules, FirstSectionGroupsByYinAndQi) {
    struct Group {
        int firstRow;
        Band yin;
        Band qi;
        bool phlegm;
        bool stasis;
    };
    const std::vector<Group> groups = {
        {1, kMild, kMild, true, true},        {7, kMild, kModerate, true, true},
        {13, kMild, kModerate, true, false},  {16, kMild, kSevere, false, true},
        {19, kModerate, kMild, true, true},   {25, kSevere, kMild, true, true},
        {31, kSevere, kModerate, true, true}, {37, kSevere, kSevere, true, true}};
    for (const Group& g : groups) {
        int row = g.firstRow;
        for (Score third : {Score::Phlegm, Score::Stasis}) {
            if ((third == Score::Phlegm && !g.phlegm) || (third == Score::Stasis && !g.stasis))
                continue;
            for (const Band& band : kBands) {
                expectBands(kYinTripleRules, row++,
                            {{Score::Yin, g.yin}, {Score::Qi, g.qi}, {third, band}});
            }
        }
    }
}

TEST(YinTripleRules, SecondSectionIsACompleteGrid) {
    for (int i = 0; i < 3; ++i)
        for (int p = 0; p < 3; ++p)
            for (int s = 0; s < 3; ++s) {
                expectBands(kYinTripleRules, 43 + 9 * i + 3 * p + s,
                            {{Score::Yin, kBands[i]},
                             {Score::Phlegm, kBands[p]},
                             {Score::Stasis, kBands[s]}});
            }
}

TEST(YinTripleRules, RepeatedAndBlankFreeTexts) {
    for (std::size_t r : {0u, 1u, 2u})
        EXPECT_EQ(kYinTripleRules.rows[12 + r].text, kYinTripleRules.rows[6 + r].text);
    EXPECT_EQ(kYinTripleRules.rows[17].text, kYinTripleRules.rows[11].text);
    EXPECT_NE(kYinTripleRules.rows[20].text.front(), ' ');
}

TEST(YinYangQiQuadRules, FormTheFourScoreGrid) {
    const std::array<Score, 2> fourths = {Score::Phlegm, Score::Stasis};
    for (int q = 0; q < 3; ++q)
        for (int y = 0; y < 3; ++y)
            for (int i = 0; i < 3; ++i)
                for (int c = 0; c < 6; ++c) {
                    expectBands(kYinYangQiQuadRules, 54 * q + 18 * y + 6 * i + c + 1,
                                {{Score::Qi, kBands[q]},
                                 {Score::Yang, kBands[y]},
                                 {Score::Yin, kBands[i]},
                                 {fourths[c / 3], kBands[c % 3]}});
                }
}

TEST(YinYangPhlegmStasisQuadRules, FormTheFourScoreGrid) {
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < 3; ++y)
            for (int i = 0; i < 3; ++i)
                for (int s = 0; s < 3; ++s) {
                    expectBands(kYinYangPhlegmStasisQuadRules, 27 * p + 9 * y + 3 * i + s + 1,
                                {{Score::Phlegm, kBands[p]},
                                 {Score::Yang, kBands[y]},
                                 {Score::Yin, kBands[i]},
                                 {Score::Stasis, kBands[s]}});
                }
}

TEST(QuintRules, MainGridHasMildPhlegm) {
    // Yang and Yin bands of the severe-qi block, three stasis rows each.
    const std::vector<std::pair<int, int>> severeQiBlocks = {{0, 0}, {0, 1}, {0, 2},
                                                             {1, 0}, {2, 0}, {2, 2}};
    const auto expectMainRow = [](int row, int q, int y, int i, int s) {
        expectBands(kQuintRules, row,
                    {{Score::Qi, kBands[q]},
                     {Score::Yang, kBands[y]},
                     {Score::Yin, kBands[i]},
                     {Score::Stasis, kBands[s]},
                     {Score::Phlegm, kMild}});
    };
    for (int q = 0; q < 2; ++q)
        for (int y = 0; y < 3; ++y)
            for (int i = 0; i < 3; ++i)
                for (int s = 0; s < 3; ++s)
                    expectMainRow(27 * q + 9 * y + 3 * i + s + 1, q, y, i, s);
    int row = 55;
    for (const auto& [y, i] : severeQiBlocks) {
        for (int s = 0; s < 3; ++s) expectMainRow(row++, 2, y, i, s);
    }
}

TEST(QuintRules, ClosingRowsTakeHeavierPhlegm) {
    for (int s = 0; s < 3; ++s) {
        expectBands(kQuintRules, 73 + s,
                    {{Score::Yin, kSevere},
                     {Score::Yang, kMild},
                     {Score::Qi, kMild},
                     {Score::Phlegm, kSevere},
                     {Score::Stasis, kBands[s]}});
    }
    // Yin, Yang, Qi bands of each pair of closing rows (mild stasis, then heavier).
    const std::vector<std::tuple<int, Band, Band, Band>> pairs = {
        {76, kMild, kHeavier, kMild},
        {79, kMild, kMild, kHeavier},
        {81, kHeavier, kMild, kHeavier},
        {83, kMild, kHeavier, kHeavier},
        {85, kHeavier, kHeavier, kHeavier}};
    for (const auto& [first, yin, yang, qi] : pairs) {
        for (int s = 0; s < 2; ++s) {
            expectBands(kQuintRules, first + s,
                        {{Score::Yin, yin},
                         {Score::Yang, yang},
                         {Score::Qi, qi},
                         {Score::Phlegm, kHeavier},
                         {Score::Stasis, s == 0 ? kMild : kHeavier}});
        }
    }
    expectBands(kQuintRules, 78,
                {{Score::Yin, kHeavier},
                 {Score::Yang, kHeavier},
                 {Score::Qi, kMild},
                 {Score::Phlegm, kHeavier},
                 {Score::Stasis, kMild}});
}

TEST(DiagnosisTables, TextsOpenWithAnIndent) {
    for (const RuleTable* table : kDiagnosisTables) {
        for (std::size_t r = 0; r < table->rows.size(); ++r) {
            const bool blankFree = table == &kYinTripleRules && r == 20;
            EXPECT_EQ(table->rows[r].text.starts_with("  "), !blankFree)
                << table->id << " " << r + 1;
        }
    }
}

struct FinalCase {
    Scores scores;
    std::string table;
    int row;
};

void expectFinal(const std::vector<FinalCase>& cases) {
    for (const FinalCase& c : cases) {
        EXPECT_EQ(finalDiagnosis(c.scores), std::make_pair(c.table, c.row))
            << c.table << " " << c.row;
    }
}

constexpr Score Y = Score::Yin, G = Score::Yang, Q = Score::Qi, P = Score::Phlegm,
                S = Score::Stasis, B = Score::Balanced;

TEST(DiagnosisPass, LastMatchWinsAcrossSingleAndPairRows) {
    expectFinal({
        {scores({{Y, 8}, {B, 10}}), "single", 20},
        {scores({{Y, 6}, {G, 6}}), "pair", 3},
        {scores({{Y, 4}, {G, 7}}), "pair", 1},
        {scores({{Y, 9}, {G, 4}}), "pair", 2},
        {scores({{Y, 4}, {P, 12}}), "pair", 14},
        {scores({{Y, 4}, {P, 20}}), "pair", 15},
        {scores({{Y, 12}, {S, 20}}), "pair", 39},
        {scores({{G, 20}, {S, 25}}), "pair", 101},
        {scores({{G, 12}, {S, 15}}), "pair", 86},
        {scores({{G, 15}, {S, 15}}), "pair", 87},
        {scores({{G, 14}, {S, 10}}), "pair", 85},
        {scores({{Q, 4}, {P, 12}}), "pair", 107},
        {scores({{Q, 20}, {P, 30}}), "pair", 127},
        {scores({{Q, 12}, {S, 15}}), "pair", 120},
        {scores({{Q, 15}, {S, 15}}), "pair", 121},
        {scores({{Q, 12}, {S, 20}}), "pair", 122},
        {scores({{Q, 20}, {S, 20}}), "pair", 130},
        {scores({{P, 12}, {S, 15}}), "pair", 138},
        {scores({{P, 12}, {S, 5}}), "pair", 136},
        {scores({{Y, 12}, {G, 12}, {B, 40}}), "pair", 24},
    });
    EXPECT_EQ(finalDiagnosis(Scores{}), std::make_pair(std::string(), 0));
}

TEST(DiagnosisPass, ThreeConstitutionRows) {
    EXPECT_EQ(matchingRows(kYinYangTripleRules, scores({{Y, 5}, {G, 5}, {Q, 5}, {P, 12}})),
              (std::vector<int>{1, 5}));
    EXPECT_EQ(matchingRows(kYinYangTripleRules, scores({{Y, 12}, {G, 4}, {Q, 20}, {S, 15}})),
              (std::vector<int>{30, 35, 39}));
    EXPECT_TRUE(matchingRows(kYinYangTripleRules, scores({{Y, 12}, {G, 12}, {Q, 20}})).empty());
    EXPECT_EQ(matchingRows(kYinYangTripleRules, scores({{Y, 50}, {G, 60}, {S, 50}})),
              (std::vector<int>{81}));
    EXPECT_EQ(matchingRows(kYinTripleRules, scores({{Y, 5}, {Q, 12}, {P, 12}, {S, 10}})),
              (std::vector<int>{8, 10, 14, 46}));
    EXPECT_TRUE(matchingRows(kYinTripleRules, scores({{Y, 5}, {Q, 20}, {P, 12}})).empty());
    EXPECT_EQ(matchingRows(kYinTripleRules, scores({{Y, 20}, {Q, 20}, {P, 20}, {S, 20}})),
              (std::vector<int>{39, 42, 69}));
    expectFinal({
        {scores({{Y, 14}, {G, 30}, {S, 5}}), "yin-yang-triple", 52},
        {scores({{Y, 16}, {G, 30}, {S, 5}}), "yin-yang-triple", 79},
        {scores({{Y, 20}, {G, 20}, {P, 20}}), "yin-yang-triple", 78},
        {scores({{Y, 5}, {Q, 5}, {P, 5}, {S, 5}}), "yin-triple", 43},
        {scores({{Y, 15}, {Q, 5}, {S, 20}}), "yin-triple", 24},
        {scores({{Y, 16}, {Q, 5}, {S, 20}}), "yin-triple", 30},
    });
}

TEST(DiagnosisPass, FourAndFiveConstitutionRows) {
    EXPECT_EQ(matchingRows(kYinYangQiQuadRules, scores({{Y, 5}, {G, 5}, {Q, 5}, {P, 12}, {S, 10}})),
              (std::vector<int>{2, 4}));
    EXPECT_TRUE(
        matchingRows(kYinYangQiQuadRules, scores({{Y, 5}, {G, 5}, {Q, 1}, {P, 20}, {S, 20}}))
            .empty());
    expectFinal({
        {scores({{Y, 2}, {G, 16}, {Q, 10}, {P, 11}}), "yin-yang-qi-quad", 38},
        {scores({{Y, 12}, {G, 20}, {Q, 8}, {S, 15}}), "yin-yang-qi-quad", 47},
        {scores({{Y, 12}, {G, 11}, {Q, 30}, {P, 11}}), "yin-yang-qi-quad", 134},
        {scores({{Y, 40}, {G, 40}, {Q, 60}, {S, 50}}), "yin-yang-qi-quad", 162},
        {scores({{Y, 2}, {G, 10}, {P, 5}, {S, 5}}), "yin-yang-phlegm-stasis-quad", 1},
        {scores({{Y, 12}, {G, 12}, {P, 4}, {S, 15}}), "yin-yang-phlegm-stasis-quad", 14},
        {scores({{Y, 5}, {G, 15}, {P, 12}, {S, 20}}), "yin-yang-phlegm-stasis-quad", 39},
        {scores({{Y, 5}, {G, 16}, {P, 12}, {S, 20}}), "yin-yang-phlegm-stasis-quad", 48},
        {scores({{Y, 5}, {G, 5}, {Q, 5}, {P, 5}, {S, 5}}), "quint", 1},
        {scores({{Y, 10}, {G, 16}, {Q, 5}, {P, 5}, {S, 20}}), "quint", 21},
        {scores({{Y, 11}, {G, 16}, {Q, 5}, {P, 5}, {S, 20}}), "quint", 24},
        {scores({{Y, 20}, {G, 12}, {Q, 12}, {P, 5}, {S, 15}}), "quint", 44},
        {scores({{Y, 12}, {G, 12}, {Q, 20}, {P, 5}, {S, 5}}), "yin-yang-phlegm-stasis-quad", 13},
        {scores({{Y, 20}, {G, 5}, {Q, 5}, {P, 20}, {S, 5}}), "quint", 73},
        {scores({{Y, 20}, {G, 5}, {Q, 5}, {P, 20}, {S, 20}}), "quint", 75},
        {scores({{Y, 5}, {G, 12}, {Q, 5}, {P, 12}, {S, 5}}), "quint", 76},
        {scores({{Y, 12}, {G, 12}, {Q, 5}, {P, 12}, {S, 5}}), "quint", 78},
        {scores({{Y, 12}, {G, 12}, {Q, 5}, {P, 12}, {S, 15}}), "yin-yang-phlegm-stasis-quad", 41},
        {scores({{Y, 12}, {G, 5}, {Q, 5}, {P, 12}, {S, 5}}), "yin-yang-phlegm-stasis-quad", 31},
        {scores({{Y, 5}, {G, 5}, {Q, 16}, {P, 11}, {S, 5}}), "quint", 79},
        {scores({{Y, 40}, {G, 40}, {Q, 40}, {P, 40}, {S, 40}}), "quint", 86},
    });
}

TEST(DiagnosisPass, FourteenRowsMatchInOrderForTheMixedExample) {
    const Evaluation evaluation =
        evaluate(scores({{Y, 12}, {G, 15}, {Q, 7}, {S, 5}}), kNoPersonality);
    std::vector<std::pair<std::string, int>> matched;
    for (const RowRef& ref : evaluation.diagnosis)
        matched.emplace_back(ref.ruleTable().id, ref.row + 1);
    const std::vector<std::pair<std::string, int>> expected = {{"single", 2},
                                                               {"single", 6},
                                                               {"single", 9},
                                                               {"single", 16},
                                                               {"pair", 23},
                                                               {"pair", 26},
                                                               {"pair", 36},
                                                               {"pair", 75},
                                                               {"pair", 85},
                                                               {"pair", 109},
                                                               {"yin-yang-triple", 37},
                                                               {"yin-yang-triple", 43},
                                                               {"yin-triple", 22},
                                                               {"yin-yang-qi-quad", 28}};
    EXPECT_EQ(matched, expected);
    EXPECT_EQ(evaluation.text(Box::Diagnosis),
              "    中度阴虚并中度阳虚交替出现，合并轻度气虚及轻度血瘀体质，适当活血补气治疗，"
              "根据阴虚及阳虚的症状适当调理。");
}

}  // namespace
}  // namespace corvane
