#include <gtest/gtest.h>

#include "engine/advice/diet_rules.h"
#include "engine/advice/personality_advice.h"
#include "support/engine_support.h"

namespace corvane {
namespace {

using testing::matchingRows;
using testing::scores;

std::size_t codePoints(std::string_view utf8) {
    std::size_t count = 0;
    for (unsigned char c : utf8) count += (c & 0xC0) != 0x80;
    return count;
}

TEST(PersonalityAdvice, FiveTypesWithTheirTexts) {
    const std::array<std::size_t, 5> lengths = {63, 165, 94, 107, 178};
    for (std::size_t k = 0; k < kPersonalityTypes.size(); ++k) {
        EXPECT_EQ(codePoints(kPersonalityTypes[k].advice), lengths[k]) << k + 1;
        const std::string_view indent = k == 4 ? "     " : "    ";
        EXPECT_TRUE(kPersonalityTypes[k].advice.starts_with(indent));
        EXPECT_NE(kPersonalityTypes[k].advice[indent.size()], ' ');
    }
    EXPECT_EQ(kPersonalityTypes[0].caption, "1、开朗平和");
    EXPECT_EQ(kPersonalityTypes[4].caption, "5、急躁");
}

// Every set of non-zero constitution scores, as a bit mask over Yin ... Stasis.
Scores fromMask(unsigned mask, int value = 5) {
    Scores s;
    for (std::size_t k = 0; k < 5; ++k) {
        if ((mask >> k) & 1u) s.values[k] = static_cast<ScoreValue>(value);
    }
    return s;
}

TEST(DietRules, AtMostOneRowPerSetOfNonZeroScores) {
    EXPECT_EQ(kDietRules.rows.size(), 31u);
    EXPECT_EQ(kDietRules.target, Box::Diet);
    const unsigned yinAndYang = 0b00011;
    const unsigned yangPhlegmStasis = 0b11010;
    std::vector<int> seen;
    for (unsigned mask = 0; mask < 32; ++mask) {
        const auto rows = matchingRows(kDietRules, fromMask(mask));
        const bool uncovered = mask == 0 || mask == yinAndYang || mask == yangPhlegmStasis;
        EXPECT_EQ(rows.size(), uncovered ? 0u : 1u) << mask;
        seen.insert(seen.end(), rows.begin(), rows.end());
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen.size(), 29u);  // rows 6 and 7 need Yin and Yang to differ
    EXPECT_EQ(matchingRows(kDietRules, scores({{Score::Yin, 2}, {Score::Yang, 40}})),
              std::vector<int>{7});
    EXPECT_EQ(matchingRows(kDietRules, scores({{Score::Yin, 40}, {Score::Yang, 2}})),
              std::vector<int>{6});
}

TEST(DietRules, OrderedByHowManyScoresAreNonZero) {
    int previousCount = 0;
    for (std::size_t r = 0; r < kDietRules.rows.size(); ++r) {
        int nonZero = 0;
        for (std::size_t k = 0; k < 5; ++k) {
            nonZero +=
                kDietRules.rows[r].when.low(kAllScores[k]) == Condition::kMin;  // "!= 0" atoms
        }
        EXPECT_GE(nonZero, previousCount) << "row " << r + 1;
        previousCount = nonZero;
        EXPECT_FALSE(kDietRules.rows[r].when.constrains(Score::Balanced));
    }
    EXPECT_EQ(matchingRows(kDietRules, scores({{Score::Qi, 2}})), std::vector<int>{3});
    EXPECT_EQ(matchingRows(kDietRules, scores({{Score::Qi, 60}})), std::vector<int>{3});
    EXPECT_EQ(matchingRows(kDietRules, fromMask(0b11111)), std::vector<int>{31});
    EXPECT_EQ(matchingRows(kDietRules, fromMask(0b11110)), std::vector<int>{26});
    EXPECT_EQ(matchingRows(kDietRules, fromMask(0b01111)), std::vector<int>{30});
}

TEST(DietRules, TextsKeepTheirBlanks) {
    for (std::size_t r = 0; r < kDietRules.rows.size(); ++r) {
        const std::string_view text = kDietRules.rows[r].text;
        const auto start = text.find_first_not_of(' ');
        EXPECT_GE(start, 3u) << r + 1;
        EXPECT_LE(start, 6u) << r + 1;
        EXPECT_TRUE(text.substr(start).starts_with("饮食调理：")) << r + 1;
        const bool endsWithBlank = r + 1 == 7 || r + 1 == 18 || r + 1 == 20;
        EXPECT_EQ(text.ends_with(" "), endsWithBlank) << r + 1;
    }
}

}  // namespace
}  // namespace corvane
