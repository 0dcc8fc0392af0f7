#pragma once

#include <cstddef>
#include <functional>
#include <future>
#include <iosfwd>
#include <string>
#include <string_view>
#include <variant>

#include "input/assessment.h"

namespace corvane::input {

class MembersInput;

// The name of the file a member's page goes to: the "file" given, with ".pdf"
// added when missing; else, for a member with a name, <line>_<name>.pdf, the
// line number padded to as many digits as the input's last line has (0042_张三.pdf
// among 1,000 to 9,999 lines), so that namesakes never meet and the files sort
// in the list's order, each character a file name cannot hold turned into '_';
// else the line number alone, as in 000042.pdf. InputError for a "file" that
// could leave the folder or trouble a terminal or a file manager: slashes,
// control characters, a leading dot, leading or trailing blanks.
std::string pageFileName(const BatchRecord& record, std::size_t line, std::size_t lines);

// One line of a batch that could be read.
struct BatchLine {
    std::size_t number = 0;  // from 1
    BatchRecord record;
    std::string file;  // its page's file name, used by no earlier line
};

// What became of one line.
struct LineOutcome {
    enum class Kind { Done, Skipped, Failed, Cancelled };
    Kind kind = Kind::Done;
    std::string text;  // what the line gave, or why it failed
    std::string note;  // a remark on a line that was done, told in its place

    static LineOutcome done(std::string gave = {}, std::string note = {}) {
        return {Kind::Done, std::move(gave), std::move(note)};
    }
    static LineOutcome skipped() { return {Kind::Skipped, {}, {}}; }
    static LineOutcome cancelled() { return {Kind::Cancelled, {}, {}}; }
    static LineOutcome failed(std::string why) { return {Kind::Failed, std::move(why), {}}; }
};

// A line's outcome, known at once or later, from another thread.
class PendingOutcome {
public:
    PendingOutcome(LineOutcome known) : outcome_(std::move(known)) {}
    PendingOutcome(std::future<LineOutcome> later) : outcome_(std::move(later)) {}
    // The outcome, waited for if need be; given once.
    LineOutcome get();

private:
    std::variant<LineOutcome, std::future<LineOutcome>> outcome_;
};

// How many lines came to what, so far.
struct BatchTally {
    std::size_t done = 0;
    std::size_t skipped = 0;
    std::size_t failed = 0;
    std::size_t finishedUpTo = 0;  // every line up to this one is finished
    bool stopped = false;          // the job stopped the reading before the end of the input
};

// What a program does with the lines of a batch.
class BatchJob {
public:
    virtual ~BatchJob() = default;
    // Begins the work of a line; InputError when it cannot be done.
    virtual PendingOutcome start(const BatchLine& line) = 0;
    // Each line once its outcome is known, in input order; a failure is told
    // already.
    virtual void finish(std::size_t line, const LineOutcome& outcome, const BatchTally& tally) = 0;
    // Asked before each line is read: true ends the reading.
    virtual bool stopped() const { return false; }
};

// Where a program tells what went wrong: "<program>: <text>" (a window, with
// no program named, the text alone), one whole line (its newline included) at
// a time.
struct Messages {
    std::string program;
    std::function<void(const std::string&)> write;

    void say(std::string_view text) const;
    void sayAboutLine(std::size_t line, std::string_view text) const;
};
Messages messagesTo(std::string program, std::ostream& err);

// Hands each member of the input that can be read to the job, in order; up
// to `ahead` lines may be in work at once. First it tells what the input was
// read as (unless UTF-8 JSON Lines) and the columns it ignores; a key of a
// JSON line that nothing reads is told once, at the first line that gives it.
// A line that cannot be read or done is told as "<program>: line N:
// <message>" and the others go on.
BatchTally runBatch(const MembersInput& members, BatchJob& job, const Messages& messages,
                    std::size_t ahead = 0);

}  // namespace corvane::input
