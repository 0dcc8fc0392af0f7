#pragma once

#include <functional>
#include <iosfwd>
#include <string_view>

namespace corvane::cli {

// Where batch output goes: writes as much of the bytes as it can and returns
// how many it wrote; fewer than given means the output has failed.
using OutputSink = std::function<std::size_t(std::string_view bytes)>;

// Standard output, written straight to it, so that after a failure the
// number of bytes that reached it is known exactly.
OutputSink standardOutput();

// A stream as a sink (all or nothing).
OutputSink streamOutput(std::ostream& out);

// Evaluates the members of in, read whole first (JSON Lines or CSV, see
// input::MembersInput), each on its own, and writes one JSON object per
// member to out in input order, with the member's "name" when it gives one. A bad line becomes
// {"line": N, "error": "..."} in its place and its message also goes to err. When the output fails,
// err says up to which input line it is complete. Returns 1 if the input could not be read, any
// line failed or the output failed, else 0.
int evaluateBatch(std::istream& in, const OutputSink& out, std::ostream& err);

}  // namespace corvane::cli
