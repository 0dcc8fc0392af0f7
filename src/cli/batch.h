#pragma once

#include <iosfwd>

namespace corvane::cli {

// Evaluates JSON Lines from in, one assessment per line, each with a fresh
// report, and writes one JSON object per line to out in input order. A bad line
// becomes {"line": N, "error": "..."} in its place and its message also goes to
// err. Returns 1 if any line failed, else 0.
int runBatch(std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace corvane::cli
