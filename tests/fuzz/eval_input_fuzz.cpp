// Feeds arbitrary bytes to everything corvane-eval parses: the values of
// --ticks, --scores and --personality, and --batch input, JSON Lines or CSV in
// UTF-8 or GB18030. Besides crashes and sanitizer reports it stops on a broken
// promise of the batch output: one valid JSON object per member (per line of
// JSON Lines), errors in their place and on standard error, or nothing but a
// message for an input that cannot be read at all.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "cli/json_batch.h"
#include "cli/output.h"
#include "input/assessment.h"
#include "input/members.h"

namespace {

using namespace corvane;
using namespace corvane::cli;
using namespace corvane::input;
using nlohmann::json;

void require(bool holds, const char* promise) {
    if (holds) return;
    std::fprintf(stderr, "broken: %s\n", promise);
    std::abort();
}

// Lines as std::getline counts them: a last line needs no newline.
std::size_t lineCount(std::string_view text) {
    const auto newlines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    return newlines + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

void requireValidReport(const Scores& scores, int personality) {
    const Evaluation evaluation = evaluate(scores, personality);
    require(json::accept(jsonReport(evaluation)), "a report is valid JSON");
    require(!readableReport(evaluation).empty(), "a readable report is never empty");
}

template <typename Parse>
void tryCommandLineValue(std::string_view value, Parse parse) {
    try {
        parse(value);
    } catch (const InputError&) {
        // Rejected with a message: what bad input should get.
    }
}

void fuzzCommandLineValues(std::string_view value) {
    tryCommandLineValue(value, [](std::string_view v) {
        requireValidReport(computeScores(parseTickList(v)), kNoPersonality);
    });
    tryCommandLineValue(value,
                        [](std::string_view v) { requireValidReport(parseScoreList(v), 1); });
    tryCommandLineValue(value, [](std::string_view v) {
        const int personality = parsePersonality(v);
        require(personality >= 1 && personality <= 5, "a personality is 1 to 5");
    });
}

// Checks each output line and returns how many were error lines, each of
// which must be told on standard error too.
std::size_t requireOneObjectPerLine(const std::string& output, const std::string& told) {
    std::istringstream lines(output);
    std::string line;
    std::size_t errors = 0;
    for (std::size_t number = 1; std::getline(lines, line); ++number) {
        const json object = json::parse(line, nullptr, false);
        require(object.is_object(), "every output line is a JSON object");
        if (!object.contains("error")) continue;
        require(object.value("line", std::size_t{0}) == number, "an error line keeps its number");
        const std::string said = "corvane-eval: line " + std::to_string(number) + ": ";
        require(told.find(said) != std::string::npos, "every failed line is on standard error");
        ++errors;
    }
    return errors;
}

// How many members the input holds, or nothing when it cannot be read at all.
std::optional<std::size_t> membersIn(std::string_view input) {
    try {
        const MembersInput members{std::string(input), "standard input"};
        if (members.format() == MembersFormat::JsonLines) {
            require(members.size() == lineCount(input), "a member for each line of JSON Lines");
        }
        return members.size();
    } catch (const InputError&) {
        return std::nullopt;
    }
}

void fuzzBatch(std::string_view input) {
    std::istringstream in{std::string(input)};
    std::ostringstream out;
    std::ostringstream err;
    const int status = evaluateBatch(in, streamOutput(out), err);
    const std::string output = out.str();
    const std::optional<std::size_t> members = membersIn(input);
    if (!members) {
        require(output.empty() && status == 1 && !err.str().empty(),
                "an input that cannot be read is refused with a message alone");
        return;
    }
    require(lineCount(output) == *members, "one output line per member");
    require(output.empty() || output.back() == '\n', "the output ends with a whole line");
    const std::size_t errors = requireOneObjectPerLine(output, err.str());
    require(status == (errors > 0 ? 1 : 0), "the status is 1 exactly when a line failed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzzCommandLineValues(bytes);
    fuzzBatch(bytes);
    return 0;
}
