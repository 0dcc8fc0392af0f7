#pragma once

#include <optional>
#include <string>

#include "engine/evaluation.h"

namespace corvane::cli {

// The report as a person reads it: the six scores, then the three boxes under
// the report window's headings.
std::string readableReport(const Evaluation& evaluation);

// The report as one line of JSON (without the newline), led by the member's
// name when one is given.
std::string jsonReport(const Evaluation& evaluation,
                       const std::optional<std::string>& name = std::nullopt);

// Appends text as a JSON string. Report texts come from the program's own
// tables and are valid UTF-8, so only quotes, backslashes and control
// characters are escaped; input and error lines go through the JSON library.
void appendJsonString(std::string& out, std::string_view text);

// {"line": N, "error": "..."} for a batch line that could not be evaluated.
std::string jsonError(std::size_t line, std::string_view message);

}  // namespace corvane::cli
