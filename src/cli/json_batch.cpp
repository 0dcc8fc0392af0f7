#include "cli/json_batch.h"

#include <algorithm>
#include <istream>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>

#include "cli/output.h"
#include "cli/write_failure.h"
#include "input/batch.h"
#include "input/members.h"
#include "language/translation.h"
#include "platform/standard_streams.h"

namespace corvane::cli {

namespace {

constexpr std::size_t kFlushAt = 1 << 20;

// corvane-eval's part of a batch: one JSON line per input line, in input order,
// written in large pieces.
class EvaluationJob : public input::BatchJob {
public:
    explicit EvaluationJob(const OutputSink& out) : out_(out) {}

    input::PendingOutcome start(const input::BatchLine& line) override {
        const input::Assessment& assessment = line.record.assessment;
        return input::LineOutcome::done(jsonReport(
            evaluate(assessment.scores, assessment.personality), line.record.field("name")));
    }

    void finish(std::size_t line, const input::LineOutcome& outcome,
                const input::BatchTally&) override {
        const bool failed = outcome.kind == input::LineOutcome::Kind::Failed;
        pending_.append(failed ? jsonError(line, outcome.text) : outcome.text).push_back('\n');
        if (pending_.size() >= kFlushAt) writePending();
    }

    bool stopped() const override { return !failure_.empty(); }

    // Writes what is left; false when the output has failed.
    bool flush() {
        if (failure_.empty()) writePending();
        return failure_.empty();
    }

    // What went wrong with the output, as the system said it.
    const std::string& failure() const { return failure_; }

    // The input line up to which the output is complete.
    std::size_t writtenUpTo() const { return writtenUpTo_; }

private:
    void writePending() {
        const std::size_t written = out_(pending_);
        writtenUpTo_ += static_cast<std::size_t>(std::count(
            pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(written), '\n'));
        if (written != pending_.size()) failure_ = writeFailure(tr("standard output"));
        pending_.clear();
    }

    const OutputSink& out_;
    std::string pending_;  // whole output lines only
    std::size_t writtenUpTo_ = 0;
    std::string failure_;
};

}  // namespace

OutputSink standardOutput() {
    return platform::writeStandardOutput;
}

OutputSink streamOutput(std::ostream& out) {
    return [&out](std::string_view bytes) -> std::size_t {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        return out ? bytes.size() : 0;
    };
}

int evaluateBatch(std::istream& in, const OutputSink& out, std::ostream& err) {
    const input::Messages messages = input::messagesTo("corvane-eval", err);
    std::unique_ptr<input::MembersInput> members;
    try {
        members = std::make_unique<input::MembersInput>(
            std::string(std::istreambuf_iterator<char>(in), {}), tr("standard input"));
    } catch (const input::InputError& error) {
        messages.say(error.what());
        return 1;
    }
    EvaluationJob job(out);
    const input::BatchTally tally = input::runBatch(*members, job, messages);
    if (!job.flush()) {
        messages.say(fillIn(tr("{}; it is complete up to input line {}"),
                            {job.failure(), std::to_string(job.writtenUpTo())}));
        return 1;
    }
    return tally.failed > 0 ? 1 : 0;
}

}  // namespace corvane::cli
