#include <gtest/gtest.h>

#include <sstream>

#include "input/assessment.h"
#include "input/batch.h"
#include "input/members.h"

namespace corvane::input {
namespace {

Assessment parseBatchLine(std::string_view line) {
    return parseBatchRecord(line).assessment;
}

// What reading threw, or "accepted".
template <typename Read>
std::string messageOf(Read read) {
    try {
        read();
    } catch (const InputError& error) {
        return error.what();
    }
    return "accepted";
}

TEST(TickList, NamesInAnyCaseAndNumbers) {
    const Ticks ticks = parseTickList("check1,CHECK6,13");
    EXPECT_EQ(ticks.count(), 3u);
    EXPECT_TRUE(ticks.test(0) && ticks.test(5) && ticks.test(12));
    EXPECT_EQ(parseTickList("").count(), 0u);
    EXPECT_EQ(parseTickList("Check31,31").count(), 1u);
}

TEST(TickList, RejectsWhatIsNotASymptom) {
    for (const char* bad : {"check0", "80", "0", "check1,,check2", "check1,", "口干", "1.5"}) {
        EXPECT_THROW(parseTickList(bad), InputError) << bad;
    }
}

// Every caption of the catalogue: one it has once ticks that symptom; one that
// two groups share is refused with both numbers to choose from.
TEST(TickList, CaptionsTickTheirSymptomOrNameTheChoices) {
    std::size_t shared = 0;
    for (std::size_t i = 0; i < kSymptoms.size(); ++i) {
        const std::string caption(kSymptoms[i].caption);
        std::vector<std::size_t> same;
        for (std::size_t j = 0; j < kSymptoms.size(); ++j) {
            if (kSymptoms[j].caption == caption) same.push_back(j);
        }
        if (same.size() == 1) {
            EXPECT_EQ(parseTickList(caption), Ticks().set(i)) << caption;
            continue;
        }
        ++shared;
        try {
            parseTickList("check1," + caption);
            ADD_FAILURE() << caption << " was taken for one symptom";
        } catch (const InputError& error) {
            const std::string message = error.what();
            for (const std::size_t j : same) {
                EXPECT_NE(message.find(" " + std::to_string(j + 1) + " ("), std::string::npos)
                    << message;
            }
        }
    }
    EXPECT_EQ(shared, 10u);  // five captions, each in two groups
    EXPECT_EQ(parseBatchLine(R"({"ticks": ["口干咽燥", "五心烦热"]})").scores[Score::Yin], 7);
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
             R"({"ticks": [], "personality": "急"})",
             R"({"ticks": [], "personality": true})",
             R"([1, 2])",
             R"({"ticks": [)",
             "",
             "\xff\xfe",
         }) {
        EXPECT_THROW(parseBatchLine(bad), InputError) << bad;
    }
}

// Batch lines carry a name, sex, age and file beside the answers, written as
// a spreadsheet writes them; keys nothing reads are ignored and named.
TEST(BatchRecord, TakesParticularsAsSpreadsheetsWriteThem) {
    const BatchRecord record = parseBatchRecord(
        R"({"ticks": [1, 6, 13], "name": "张三", "age": 45.0, "file": "a.pdf", "personality": "2",)"
        R"( "编号": 7, "sex": null})");
    EXPECT_EQ(record.assessment.scores[Score::Yin], 9);
    EXPECT_EQ(record.assessment.personality, 2);
    EXPECT_EQ(record.field("name"), "张三");
    EXPECT_EQ(record.field("age"), "45");
    EXPECT_EQ(record.field("file"), "a.pdf");
    EXPECT_EQ(record.field("sex"), std::nullopt);
    EXPECT_EQ(record.ignored, std::vector<std::string>{"编号"});
    EXPECT_EQ(parseBatchLine(R"({"ticks": [], "personality": "开朗平和"})").personality, 1);
    EXPECT_EQ(parseBatchLine(R"({"ticks": [], "personality": ""})").personality, kNoPersonality);

    EXPECT_EQ(messageOf([] { parseBatchRecord(R"({"ticks": [], "age": 45.5})"); }),
              "age must be a whole number from 0 to 150: '45.5'");
    EXPECT_EQ(messageOf([] { parseBatchRecord(R"({"ticks": [], "name": ["x"]})"); }),
              R"("name" must be a string or an integer)");
    EXPECT_EQ(messageOf([] { parseBatchRecord(R"({"ticks": [0], "name": "x"})"); }),
              "unknown symptom 0: use check1 to Check79, 1 to 79 or a caption such as 口干咽燥");
}

TEST(BatchLine, DeeplyNestedValuesAreRejectedWithoutCrashing) {
    constexpr std::size_t kDepth = 200000;
    const std::string nested = std::string(kDepth, '[') + std::string(kDepth, ']');
    try {
        parseBatchLine(R"({"ticks": [)" + nested + "]}");
        FAIL() << "a nested array was taken as a symptom";
    } catch (const InputError& error) {
        EXPECT_STREQ(error.what(),
                     "unknown symptom an array: use check1 to Check79, 1 to 79 or a caption such "
                     "as 口干咽燥");
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
    const auto messageFor = [](auto parse) { return messageOf(parse); };
    const std::string tick = messageFor([] { parseTickList("\x1b[2Jcheck1"); });
    EXPECT_TRUE(tick.starts_with("unknown symptom '\\x1b[2Jcheck1': ")) << tick;
    const std::string batchTick =
        messageFor([] { parseBatchLine(R"({"ticks": ["a\u0007\u007f"]})"); });
    EXPECT_TRUE(batchTick.starts_with("unknown symptom 'a\\x07\\x7f': ")) << batchTick;
    const std::string key =
        messageFor([] { parseBatchLine(R"({"ticks": [], "x\ny": 1, "x\ny": 2})"); });
    EXPECT_EQ(key, "key 'x\\x0ay' given twice");
}

// A job that takes every line it is handed and notes the file each gets.
class NotingJob : public BatchJob {
public:
    PendingOutcome start(const BatchLine& line) override {
        files.emplace_back(line.number, line.file);
        return LineOutcome::done();
    }
    void finish(std::size_t, const LineOutcome&, const BatchTally&) override {}

    std::vector<std::pair<std::size_t, std::string>> files;
};

// Each file name is written by one line: a name a line gives or its number's
// name, whichever line comes first; a line that cannot be read takes none.
TEST(BatchLoop, EachFileIsWrittenByTheFirstLineThatTakesIt) {
    const std::string in(R"({"ticks": [], "file": "000003.pdf"}
{"ticks": []}
{"ticks": []}
{bad
{"ticks": [], "file": "000002"}
{"ticks": [], "file": "000004.pdf"}
{"ticks": [], "file": "000007"}
{"ticks": [], "file": "000004.pdf"}
)");
    std::ostringstream err;
    NotingJob job;
    const BatchTally tally = runBatch(MembersInput(in, "input"), job, messagesTo("prog", err));
    EXPECT_EQ(job.files,
              (std::vector<std::pair<std::size_t, std::string>>{
                  {1, "000003.pdf"}, {2, "000002.pdf"}, {6, "000004.pdf"}, {7, "000007.pdf"}}));
    EXPECT_EQ(err.str(),
              "prog: line 3: file '000003.pdf' is written by line 1 already\n"
              "prog: line 4: malformed JSON\n"
              "prog: line 5: file '000002.pdf' is written by line 2 already\n"
              "prog: line 8: file '000004.pdf' is written by line 6 already\n");
    EXPECT_EQ(std::tuple(tally.done, tally.failed, tally.finishedUpTo), std::tuple(4u, 4u, 8u));
}

}  // namespace
}  // namespace corvane::input
