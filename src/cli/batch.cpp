#include "cli/batch.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <istream>
#include <ostream>
#include <string>

#include "cli/assessment.h"
#include "cli/output.h"
#include "cli/write_failure.h"

namespace corvane::cli {

namespace {

constexpr std::size_t kFlushAt = 1 << 20;

std::string evaluateLine(std::string_view line) {
    const Assessment assessment = parseBatchLine(line);
    return jsonReport(evaluate(assessment.scores, assessment.personality));
}

int outputFailed(std::ostream& err, std::size_t completeUpTo) {
    const std::string reason = writeFailure("standard output");
    err << "corvane-eval: " << reason << "; it is complete up to input line " << completeUpTo
        << '\n';
    return 1;
}

}  // namespace

OutputSink standardOutput() {
    return [](std::string_view bytes) {
        errno = 0;
        std::size_t written = 0;
        while (written < bytes.size()) {
            const auto rest = bytes.substr(written);
#ifdef _WIN32
            const int n = _write(
                1, rest.data(), static_cast<unsigned>(std::min<std::size_t>(rest.size(), 1 << 30)));
#else
            const ssize_t n = ::write(1, rest.data(), rest.size());
            if (n < 0 && errno == EINTR) continue;
#endif
            if (n <= 0) break;
            written += static_cast<std::size_t>(n);
        }
        return written;
    };
}

OutputSink streamOutput(std::ostream& out) {
    return [&out](std::string_view bytes) -> std::size_t {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        return out ? bytes.size() : 0;
    };
}

int runBatch(std::istream& in, const OutputSink& out, std::ostream& err) {
    int status = 0;
    std::string line;
    std::string pending;          // whole output lines only, written in large pieces
    std::size_t writtenUpTo = 0;  // the input line up to which the output is complete
    const auto writePending = [&] {
        const std::size_t written = out(pending);
        writtenUpTo += static_cast<std::size_t>(std::count(
            pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(written), '\n'));
        const bool complete = written == pending.size();
        pending.clear();
        return complete;
    };
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        try {
            pending.append(evaluateLine(line));
        } catch (const InputError& error) {
            pending.append(jsonError(number, error.what()));
            err << "corvane-eval: line " << number << ": " << error.what() << '\n';
            status = 1;
        }
        pending.push_back('\n');
        if (pending.size() >= kFlushAt && !writePending()) return outputFailed(err, writtenUpTo);
    }
    if (!writePending()) return outputFailed(err, writtenUpTo);
    return status;
}

}  // namespace corvane::cli
