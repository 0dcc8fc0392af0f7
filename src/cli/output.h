#pragma once

#include <string>

#include "engine/evaluation.h"
#include "engine/report.h"

namespace corvane::cli {

// The report as a person reads it: the six scores, then the three boxes under
// the report window's headings.
std::string readableReport(const Evaluation& evaluation, const MemoryReport& report);

// The report as one line of JSON (without the newline).
std::string jsonReport(const Evaluation& evaluation, const MemoryReport& report);

// {"line": N, "error": "..."} for a batch line that could not be evaluated.
std::string jsonError(std::size_t line, std::string_view message);

}  // namespace corvane::cli
