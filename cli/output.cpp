#include "cli/output.h"

#include <nlohmann/json.hpp>

#include "advice/diet_rules.h"

namespace corvane::cli {

namespace {

using Json = nlohmann::ordered_json;

std::string dump(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

Json scoresJson(const Scores& scores) {
    Json object = Json::object();
    for (Score score : kAllScores) object[std::string(scoreName(score))] = scores[score];
    return object;
}

Json matchedJson(const MatchedRows& rows) {
    Json array = Json::array();
    for (const RowRef& ref : rows) {
        array.push_back({{"table", ref.ruleTable().id}, {"row", ref.row + 1}});
    }
    return array;
}

void appendSection(std::string& out, std::string_view heading, std::string_view text) {
    out.append("\n").append(heading).append("\n");
    out.append(text.empty() ? "（无）" : text).append("\n");
}

}  // namespace

std::string readableReport(const Evaluation& evaluation, const MemoryReport& report) {
    std::string out;
    for (Score score : kAllScores) {
        out.append(scoreName(score)).append(" ").append(std::to_string(evaluation.scores[score]));
        out.append(score == Score::Balanced ? "\n" : "  ");
    }
    appendSection(out, "体质诊断结果", report.text(Box::Text1));
    appendSection(out, "调理建议", report.text(Box::Text7));
    appendSection(out, "性格调整", report.text(Box::Text5));
    return out;
}

std::string jsonReport(const Evaluation& evaluation, const MemoryReport& report) {
    Json json = Json::object();
    json["scores"] = scoresJson(evaluation.scores);
    json["diagnosis"] = report.text(Box::Text1);
    json["diet"] = report.text(Box::Text7);
    json["personality"] = report.text(Box::Text5);
    json["matched"] = matchedJson(evaluation.diagnosis);
    json["diet_row"] = evaluation.dietRow ? Json(*evaluation.dietRow + 1) : Json(nullptr);
    return dump(json);
}

std::string jsonError(std::size_t line, std::string_view message) {
    return dump(Json{{"line", line}, {"error", message}});
}

}  // namespace corvane::cli
