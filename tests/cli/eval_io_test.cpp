#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/assessment.h"
#include "cli/output.h"

namespace corvane::cli {
namespace {

TEST(TickList, NamesInAnyCaseAndNumbers) {
    const Ticks ticks = parseTickList("check1,CHECK6,13");
    EXPECT_EQ(ticks.count(), 3u);
    EXPECT_TRUE(ticks.test(0) && ticks.test(5) && ticks.test(12));
    EXPECT_EQ(parseTickList("").count(), 0u);
    EXPECT_EQ(parseTickList("Check31,31").count(), 1u);
}

TEST(TickList, RejectsWhatIsNotASymptom) {
    for (const char* bad : {"check0", "80", "0", "check1,,check2", "check1,", "口干咽燥", "1.5"}) {
        EXPECT_THROW(parseTickList(bad), InputError) << bad;
    }
}

TEST(ScoreList, MissingScoresAreZero) {
    const Scores s = parseScoreList("Yin=12,Yang=15,Qi=7,Stasis=5");
    EXPECT_EQ(s[Score::Yin], 12);
    EXPECT_EQ(s[Score::Stasis], 5);
    EXPECT_EQ(s[Score::Phlegm], 0);
    EXPECT_EQ(parseScoreList("Balanced=32767")[Score::Balanced], 32767);
}

TEST(ScoreList, RejectsBadNamesAndValues) {
    for (const char* bad : {"Yin=-1", "Yin=32768", "Yin=1.5", "Yin=", "Yin", "Spleen=3", "yin=3",
                            "Yin=3,Yin=4", "Yin=99999999999999999999", "=3"}) {
        EXPECT_THROW(parseScoreList(bad), InputError) << bad;
    }
}

TEST(Personality, OneToFive) {
    EXPECT_EQ(parsePersonality("1"), 1);
    EXPECT_EQ(parsePersonality("5"), 5);
    for (const char* bad : {"0", "6", "", "x", "2.0", "-1"})
        EXPECT_THROW(parsePersonality(bad), InputError);
}

TEST(BatchLine, TicksOrScoresWithOptionalPersonality) {
    const Assessment a = parseBatchLine(R"({"ticks": ["check1", "CHECK6", 13], "personality": 1})");
    EXPECT_EQ(a.scores[Score::Yin], 9);
    EXPECT_EQ(a.personality, 1);
    const Assessment b = parseBatchLine(R"({"scores": {"Yin": 12, "Qi": 7}})");
    EXPECT_EQ(b.scores[Score::Qi], 7);
    EXPECT_EQ(b.personality, kNoPersonality);
    EXPECT_EQ(parseBatchLine(R"({"ticks": []})").scores, Scores{});
}

TEST(BatchLine, RejectsEveryKindOfBadLine) {
    for (const char* bad : {
             R"({"ticks": ["check80"]})",
             R"({"ticks": [0]})",
             R"({"ticks": [1.0]})",
             R"({"ticks": "check1"})",
             R"({"ticks": [null]})",
             R"({"scores": {"Yin": -1}})",
             R"({"scores": {"Yin": 2.5}})",
             R"({"scores": {"Yin": "3"}})",
             R"({"scores": {"Spleen": 3}})",
             R"({"scores": [1, 2]})",
             R"({"ticks": [], "scores": {}})",
             R"({"personality": 1})",
             R"({"ticks": [], "personality": 6})",
             R"({"ticks": [], "personality": "1"})",
             R"({"ticks": [], "extra": 1})",
             R"([1, 2])",
             R"({"ticks": [)",
             "",
             "\xff\xfe",
         }) {
        EXPECT_THROW(parseBatchLine(bad), InputError) << bad;
    }
}

// corvane's PDF export reads the same lines with a name, sex, age and file;
// corvane-eval's lines keep refusing those keys with the message they had.
TEST(BatchRecord, TakesTheFieldsItsReaderAllows) {
    constexpr std::string_view keys[] = {"name", "sex", "age", "file"};
    const BatchRecord record = parseBatchRecord(
        R"({"ticks": [1, 6, 13], "name": "张三", "age": 45, "file": "a.pdf", "personality": 2})",
        keys);
    EXPECT_EQ(record.assessment.scores[Score::Yin], 9);
    EXPECT_EQ(record.assessment.personality, 2);
    EXPECT_EQ(record.field("name"), "张三");
    EXPECT_EQ(record.field("age"), "45");
    EXPECT_EQ(record.field("file"), "a.pdf");
    EXPECT_EQ(record.field("sex"), std::nullopt);

    const auto message = [](auto parse) {
        try {
            parse();
        } catch (const InputError& error) {
            return std::string(error.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(message([] { parseBatchLine(R"({"ticks": [], "name": "x"})"); }),
              R"(unknown key 'name': use "ticks" or "scores" and "personality")");
    EXPECT_EQ(message([&] { parseBatchRecord(R"({"ticks": [], "colour": 1})", keys); }),
              R"(unknown key 'colour': use "ticks" or "scores", "personality", "name", "sex", )"
              R"("age" and "file")");
    EXPECT_EQ(message([&] { parseBatchRecord(R"({"ticks": [], "name": ["x"]})", keys); }),
              R"("name" must be a string or an integer)");
    EXPECT_EQ(message([&] { parseBatchRecord(R"({"ticks": [0], "name": "x"})", keys); }),
              "unknown symptom 0: use a control name check1 to Check79 or a number from 1 to 79");
}

TEST(BatchLine, DeeplyNestedValuesAreRejectedWithoutCrashing) {
    constexpr std::size_t kDepth = 200000;
    const std::string nested = std::string(kDepth, '[') + std::string(kDepth, ']');
    try {
        parseBatchLine(R"({"ticks": [)" + nested + "]}");
        FAIL() << "a nested array was taken as a symptom";
    } catch (const InputError& error) {
        EXPECT_STREQ(error.what(),
                     "unknown symptom an array: use a control name check1 to Check79 or a number "
                     "from 1 to 79");
    }
    EXPECT_THROW(parseBatchLine(R"({"scores": {"Yin": )" + nested + "}}"), InputError);
    EXPECT_THROW(parseBatchLine(R"({"ticks": [], "personality": )" + nested + "}"), InputError);
}

TEST(BatchLine, KeysGivenTwiceAreRejectedNotOverwritten) {
    EXPECT_THROW(parseBatchLine(R"({"ticks": [1], "ticks": [2]})"), InputError);
    EXPECT_THROW(parseBatchLine(R"({"scores": {"Yin": 3, "Yin": 4}})"), InputError);
    EXPECT_THROW(parseBatchLine(R"({"ticks": [], "personality": 1, "personality": 2})"),
                 InputError);
    // The same key in different objects is no repetition.
    EXPECT_EQ(parseBatchLine(R"({"scores": {"Yin": 3, "Qi": 4}, "personality": 2})").personality,
              2);
}

TEST(BatchLine, NothingAfterANulByteIsIgnored) {
    using namespace std::string_view_literals;
    EXPECT_THROW(parseBatchLine("{\"ticks\": [1]}\0{\"ticks\": [2]}"sv), InputError);
    EXPECT_THROW(parseBatchLine("{\"ticks\": [1]}\0"sv), InputError);
}

TEST(InputMessages, ShowControlCharactersEscaped) {
    const auto messageFor = [](auto parse) -> std::string {
        try {
            parse();
        } catch (const InputError& error) {
            return error.what();
        }
        return "accepted";
    };
    const std::string tick = messageFor([] { parseTickList("\x1b[2Jcheck1"); });
    EXPECT_TRUE(tick.starts_with("unknown symptom '\\x1b[2Jcheck1': ")) << tick;
    const std::string batchTick =
        messageFor([] { parseBatchLine(R"({"ticks": ["a\u0007\u007f"]})"); });
    EXPECT_TRUE(batchTick.starts_with("unknown symptom 'a\\x07\\x7f': ")) << batchTick;
    const std::string key = messageFor([] { parseBatchLine(R"({"ticks": [], "x\ny": 1})"); });
    EXPECT_TRUE(key.starts_with("unknown key 'x\\x0ay': ")) << key;
}

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
