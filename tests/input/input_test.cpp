#include <gtest/gtest.h>

#include <sstream>

#include "input/assessment.h"
#include "input/batch.h"
#include "input/csv.h"
#include "input/member_values.h"
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

    NotingJob named;
    runBatch(MembersInput("{\"ticks\": []}\n{\"ticks\": [], \"name\": \"张三\"}\n{\"ticks\": [], "
                          "\"file\": \"7\"}\n",
                          "input"),
             named, messagesTo("prog", err));
    EXPECT_EQ(named.files, (std::vector<std::pair<std::size_t, std::string>>{
                               {1, "000001.pdf"}, {2, "2_张三.pdf"}, {3, "7.pdf"}}));
}

// The members of an input, or the message it was refused with.
struct Read {
    std::vector<std::string> names;  // name/sex of each member, or its line's message
    TextEncoding encoding = TextEncoding::Utf8;
};

Read readMembers(std::string bytes) {
    const MembersInput members(std::move(bytes), "input");
    Read read{{}, members.encoding()};
    for (std::size_t number = 1; number <= members.size(); ++number) {
        read.names.push_back(messageOf([&] {
            const BatchRecord record = members.member(number);
            throw InputError(record.field("name").value_or("") + "/" +
                             record.field("sex").value_or(""));
        }));
    }
    return read;
}

// A whole input is one encoding: GBK lines that happen to be UTF-8 (肖霞 as
// "Фϼ", 女 as "Ů") are read as GBK, and a damaged line of a UTF-8 file is
// refused rather than read as GBK.
TEST(MembersInput, DecidesTheEncodingForTheWholeInput) {
    const std::string gbk =
        "{\"ticks\": [], \"name\": \"\xD0\xA4\xCF\xBC\", \"sex\": \"\xC5\xAE\"}\n"
        "{\"ticks\": [], \"name\": \"\xD5\xC5\xC8\xFD\"}\n";
    const Read fromGbk = readMembers(gbk);
    EXPECT_EQ(fromGbk.encoding, TextEncoding::Gb18030);
    EXPECT_EQ(fromGbk.names, (std::vector<std::string>{"肖霞/女", "张三/"}));

    const Read fromUtf8 = readMembers("姓名,症状\n张三,1\n李\xE5四,2\n王五,3\n");
    EXPECT_EQ(fromUtf8.encoding, TextEncoding::Utf8);
    EXPECT_EQ(fromUtf8.names,
              (std::vector<std::string>{"张三/", "the line is not valid UTF-8 text", "王五/"}));
    const Read marked = readMembers("\xEF\xBB\xBF" + gbk);
    EXPECT_EQ(marked.encoding, TextEncoding::Utf8);
    EXPECT_EQ(marked.names[1], "the line is not valid UTF-8 text");
    EXPECT_EQ(readMembers("{\"ticks\": [], \"name\": \"\xD5\xC5\x80\"}\n" + gbk).names.front(),
              "the line is not valid GB18030 text");
    EXPECT_EQ(messageOf([] { readMembers("\xFF\xFE\x53\x59"); }),
              "input is UTF-16 text: save the list as CSV (UTF-8 or GB18030) instead");
}

TEST(MembersInput, ReadsCsvAsSpreadsheetsSaveIt) {
    const MembersInput members(
        "编号;姓名;年龄;性格;症状;口干咽燥;23;check6;电话;\r\n"
        "1;\"张;三\";45.0;开朗平和;\"13、14，15 16\u300017\";是;;0;\"1\r\n2\";\r\n"
        ";;;;;;;;;\r\n"
        "2; 李四 ;;5;;√;x;✓;;\r\n",
        "input");
    EXPECT_EQ(members.format(), MembersFormat::Csv);
    EXPECT_EQ(members.readingNote(), "reading input as UTF-8 CSV separated by semicolons");
    EXPECT_EQ(members.ignoredColumns(), (std::vector<std::string>{"编号", "电话"}));
    ASSERT_EQ(members.size(), 2u);  // the empty row left out
    const BatchRecord first = members.member(1);
    EXPECT_EQ(first.field("name"), "张;三");
    EXPECT_EQ(first.field("age"), "45");
    EXPECT_EQ(first.assessment.personality, 1);
    EXPECT_EQ(first.assessment.scores, computeScores(parseTickList("1,13,14,15,16,17")));
    const BatchRecord second = members.member(2);
    EXPECT_EQ(second.field("name"), "李四");
    EXPECT_EQ(second.field("age"), std::nullopt);
    EXPECT_EQ(second.assessment.personality, 5);
    EXPECT_EQ(second.assessment.scores, computeScores(parseTickList("1,23,6")));
}

TEST(MembersInput, RefusesWhatItCannotRead) {
    const auto refused = [](std::string text) {
        return messageOf([&] { readMembers(std::move(text)); });
    };
    EXPECT_EQ(refused("姓名,自汗\n张三,是\n"),
              "the header row: symptom '自汗' stands in two groups: use 23 (阳虚体质) or 34 "
              "(气虚体质)");
    EXPECT_EQ(refused("name,症状,ticks\n"),
              "the header row: columns 2 ('症状') and 3 ('ticks') give the same");
    EXPECT_EQ(refused("姓名,1,check1\n"),
              "the header row: columns 2 ('1') and 3 ('check1') give the same");
    const std::string noSymptom = refused("姓名,性别\n张三,男\n");
    EXPECT_TRUE(noSymptom.starts_with("the header row names no symptom")) << noSymptom;
    EXPECT_TRUE(
        noSymptom.ends_with("starts with '{', else as CSV with a header row; this one "
                            "holds '姓名', '性别')"))
        << noSymptom;
    EXPECT_EQ(readMembers("姓名,口干咽燥\n张三,有\n").names.front(),
              "the column '口干咽燥' holds '有': tick a symptom with 是, 1, √, ✓ or x, and leave "
              "it blank (or 否, 0) when not ticked");
    EXPECT_EQ(readMembers("姓名,症状\n张三,1,2\n").names.front(),
              "the line has 3 cells where the header row has 2");
    EXPECT_EQ(readMembers("姓名,症状\n张三,\"1,2\n李四,3\n").names,
              (std::vector<std::string>{"a quoted cell is not closed: its closing '\"' is missing",
                                        "李四/"}));
}

// Values as people and spreadsheets write them, each read or refused.
TEST(MemberValues, AsSpreadsheetsWriteThem) {
    const std::vector<std::pair<std::string, std::string>> ages = {
        {"45", "45"},      {"45.0", "45"},      {" 7 ", "7"},        {"0", "0"},
        {"150", "150"},    {"\u3000", "none"},  {"45.5", "refused"}, {"151", "refused"},
        {"-1", "refused"}, {"45岁", "refused"}, {"4 5", "refused"},  {"45.", "refused"}};
    for (const auto& [given, read] : ages) {
        std::string got;
        try {
            got = ageFromText(given).value_or("none");
        } catch (const InputError&) {
            got = "refused";
        }
        EXPECT_EQ(got, read) << given;
    }
    const std::vector<std::pair<std::string, int>> types = {
        {"1", 1},    {"5.0", 5},      {"开朗平和", 1}, {"1、开朗平和", 1},
        {"急躁", 5}, {"急躁易怒", 2}, {" ", 0}};
    for (const auto& [given, type] : types) EXPECT_EQ(personalityFromText(given), type) << given;
    for (const char* bad : {"0", "6", "2.5", "急", "1、急躁"}) {
        EXPECT_THROW(personalityFromText(bad), InputError) << bad;
    }
    for (const char* ticked : {"是", "1", "√", "✓", "x", "X", " 1.0 "}) {
        EXPECT_EQ(tickMark(ticked), true) << ticked;
    }
    for (const char* notTicked : {"", "否", "0", "0.0", "\u3000"}) {
        EXPECT_EQ(tickMark(notTicked), false) << notTicked;
    }
    for (const char* bad : {"有", "2", "yes", "-1"}) EXPECT_EQ(tickMark(bad), std::nullopt) << bad;
}

// The name a member's page is written under, or the message its "file" is
// refused with.
TEST(PageFileName, GivenOrMadeFromTheName) {
    struct Case {
        std::string line;
        std::size_t number;
        std::size_t lines;
        std::string file;
    };
    const std::string longName(45, 'a');
    const std::vector<Case> cases = {
        {R"({"ticks": [], "name": "张三"})", 42, 1000, "0042_张三.pdf"},
        {R"({"ticks": [], "name": "张三"})", 42, 999, "042_张三.pdf"},
        {R"({"ticks": [], "name": "张三"})", 3, 9, "3_张三.pdf"},
        {R"({"ticks": [], "name": " a|b\u007fc/d:e\u3000"})", 3, 5, "3_a_b_c_d_e.pdf"},
        {R"({"ticks": [], "name": "\u3000"})", 3, 5, "000003.pdf"},
        {R"({"ticks": [], "name": "a\u0080b\u009fc\u00a0d"})", 3, 5, "3_a_b_c\u00a0d.pdf"},
        {R"({"ticks": [], "name": ")" + longName + R"("})", 3, 5,
         "3_" + longName.substr(0, 40) + ".pdf"},
        {R"({"ticks": [], "name": "张三", "file": "x.PDF"})", 3, 5, "x.PDF"},
        {R"({"ticks": [], "file": "x"})", 3, 5, "x.pdf"},
        {R"({"ticks": [], "file": "a\u007fb"})", 3, 5,
         R"("file" must not hold control characters: 'a\x7fb')"},
        {R"({"ticks": [], "file": "x\u3000"})", 3, 5,
         "\"file\" must not start or end with a blank: 'x\u3000'"},
        {R"({"ticks": [], "file": "a|b"})", 3, 5,
         R"("file" must not hold any of : * ? " < > |, which Windows refuses in file names: 'a|b')"},
    };
    for (const Case& each : cases) {
        std::string file;
        try {
            file = pageFileName(parseBatchRecord(each.line), each.number, each.lines);
        } catch (const InputError& error) {
            file = error.what();
        }
        EXPECT_EQ(file, each.file) << each.line;
    }
}

TEST(Csv, CellsComeBackAsTheyWent) {
    const std::vector<std::string> cells = {"plain",   "a,b", "say \"hi\"", "two\r\nlines",
                                            " edged ", "",    "张三"};
    std::string record;
    for (const std::string& cell : cells) {
        if (!record.empty()) record.push_back(',');
        appendCsvCell(record, cell);
    }
    const std::string text = record + "\r\nnext\r\n";
    const std::vector<std::string_view> records = csvRecords(text, ',');
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(csvCells(records.front(), ','), cells);
    EXPECT_EQ(csvSeparator("a;b;\"c,d,e\"\tf"), ';');
}

}  // namespace
}  // namespace corvane::input
