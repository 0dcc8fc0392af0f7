#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/output.h"
#include "input/assessment.h"

namespace corvane::cli {
namespace {

using input::parseScoreList;

// The writer checks eight bytes at a time: a byte to escape must be found at
// any offset of a block, in the tail after the last block, and next to another.
TEST(JsonString, EscapesAtEveryOffsetOfTheFastPath) {
    for (const char special : {'"', '\\', '\n', '\x01', '\x1f', '\0'}) {
        for (std::size_t length = 1; length <= 20; ++length) {
            for (std::size_t at = 0; at < length; ++at) {
                std::string text(length, 'a');
                text[at] = special;
                if (at + 1 < length) text[at + 1] = '\x7f';  // plain, though close to the specials
                for (const std::string& sample : {text, text + "中" + text}) {
                    std::string json;
                    appendJsonString(json, sample);
                    ASSERT_EQ(nlohmann::json::parse(json).get<std::string>(), sample)
                        << "byte " << int(special) << " at " << at << " of " << length;
                }
            }
        }
    }
}

TEST(JsonReport, HasExactlyTheDocumentedKeys) {
    const Evaluation evaluation = evaluate(parseScoreList("Yin=9"), 1);
    const auto json = nlohmann::ordered_json::parse(jsonReport(evaluation));
    std::vector<std::string> keys;
    for (const auto& item : json.items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"scores", "diagnosis", "diet", "personality",
                                              "matched", "diet_row"}));
    EXPECT_EQ(json["scores"]["Yin"], 9);
    EXPECT_EQ(json["matched"], nlohmann::ordered_json::parse(R"([{"table": "single", "row": 2}])"));
    EXPECT_EQ(json["diet_row"], 1);
}

TEST(JsonError, SurvivesInvalidUtf8InTheMessage) {
    const auto json = nlohmann::json::parse(jsonError(3, "unknown symptom '\xff'"));
    EXPECT_EQ(json["line"], 3);
    EXPECT_TRUE(json["error"].get<std::string>().starts_with("unknown symptom"));
}

}  // namespace
}  // namespace corvane::cli
