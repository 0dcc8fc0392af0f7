#include "cli/batch.h"

#include <istream>
#include <ostream>
#include <string>

#include "cli/assessment.h"
#include "cli/output.h"

namespace corvane::cli {

namespace {

constexpr std::size_t kFlushAt = 1 << 20;

std::string evaluateLine(std::string_view line) {
    const Assessment assessment = parseBatchLine(line);
    return jsonReport(evaluate(assessment.scores, assessment.personality));
}

}  // namespace

int runBatch(std::istream& in, std::ostream& out, std::ostream& err) {
    int status = 0;
    std::string line;
    std::string pending;  // whole output lines only, written in large pieces
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        try {
            pending.append(evaluateLine(line));
        } catch (const InputError& error) {
            pending.append(jsonError(number, error.what()));
            err << "corvane-eval: line " << number << ": " << error.what() << '\n';
            status = 1;
        }
        pending.push_back('\n');
        if (pending.size() >= kFlushAt) {
            out.write(pending.data(), static_cast<std::streamsize>(pending.size()));
            pending.clear();
        }
    }
    out.write(pending.data(), static_cast<std::streamsize>(pending.size()));
    out.flush();
    return status;
}

}  // namespace corvane::cli
