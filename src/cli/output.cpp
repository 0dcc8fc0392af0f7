#include "cli/output.h"

#include <cstdint>
#include <cstring>
#include <nlohmann/json.hpp>

#include "engine/box.h"

namespace corvane::cli {

namespace {

using Json = nlohmann::ordered_json;

std::string dump(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Report texts run to a few thousand bytes each, so --batch spends most of its
// time escaping them; eight bytes are checked at once for anything to escape.
bool needsEscape(unsigned char byte) {
    return byte < 0x20 || byte == '"' || byte == '\\';
}

bool anyNeedsEscape(std::string_view eightBytes) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighs = 0x8080808080808080;
    std::uint64_t v = 0;
    std::memcpy(&v, eightBytes.data(), sizeof v);
    const auto anyBelow = [&](std::uint64_t x, std::uint64_t n) {
        return (x - kOnes * n) & ~x & kHighs;
    };
    return (anyBelow(v, 0x20) | anyBelow(v ^ (kOnes * '"'), 1) | anyBelow(v ^ (kOnes * '\\'), 1)) !=
           0;
}

void appendEscaped(std::string& out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789abcdef";
    if (byte < 0x20) {
        out.append("\\u00").push_back(kHex[byte >> 4]);
        out.push_back(kHex[byte & 0xF]);
    } else {
        out.push_back('\\');
        out.push_back(static_cast<char>(byte));
    }
}

void appendSection(std::string& out, std::string_view heading, std::string_view text) {
    out.append("\n").append(heading).append("\n");
    out.append(text.empty() ? "（无）" : text).append("\n");
}

}  // namespace

void appendJsonString(std::string& out, std::string_view text) {
    out.push_back('"');
    std::size_t plainFrom = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (i + 8 <= text.size() && !anyNeedsEscape(text.substr(i, 8))) {
            i += 8;
            continue;
        }
        const auto byte = static_cast<unsigned char>(text[i++]);
        if (!needsEscape(byte)) continue;
        out.append(text.substr(plainFrom, i - 1 - plainFrom));
        appendEscaped(out, byte);
        plainFrom = i;
    }
    out.append(text.substr(plainFrom));
    out.push_back('"');
}

std::string readableReport(const Evaluation& evaluation) {
    std::string out;
    for (Score score : kAllScores) {
        out.append(scoreName(score)).append(" ").append(std::to_string(evaluation.scores[score]));
        out.append(score == Score::Balanced ? "\n" : "  ");
    }
    for (Box box : kReportBoxes) appendSection(out, heading(box), evaluation.text(box));
    return out;
}

std::string jsonReport(const Evaluation& evaluation, const std::optional<std::string>& name) {
    std::string out;
    out.reserve(4096);
    out.push_back('{');
    if (name) {
        out.append("\"name\":");
        appendJsonString(out, *name);
        out.push_back(',');
    }
    out.append("\"scores\":{");
    for (Score score : kAllScores) {
        if (score != Score::Yin) out.push_back(',');
        appendJsonString(out, scoreName(score));
        out.append(":").append(std::to_string(evaluation.scores[score]));
    }
    out.append("},\"diagnosis\":");
    appendJsonString(out, evaluation.text(Box::Diagnosis));
    out.append(",\"diet\":");
    appendJsonString(out, evaluation.text(Box::Diet));
    out.append(",\"personality\":");
    appendJsonString(out, evaluation.text(Box::Personality));
    out.append(",\"matched\":[");
    for (const RowRef& ref : evaluation.diagnosis) {
        if (&ref != &evaluation.diagnosis.front()) out.push_back(',');
        out.append("{\"table\":");
        appendJsonString(out, ref.ruleTable().id);
        out.append(",\"row\":").append(std::to_string(ref.row + 1)).append("}");
    }
    out.append("],\"diet_row\":");
    out.append(evaluation.dietRow ? std::to_string(*evaluation.dietRow + 1) : "null");
    out.append("}");
    return out;
}

std::string jsonError(std::size_t line, std::string_view message) {
    return dump(Json{{"line", line}, {"error", message}});
}

}  // namespace corvane::cli
