#include "input/batch.h"

#include <charconv>
#include <deque>
#include <map>
#include <ostream>
#include <set>
#include <utility>
#include <vector>

#include "input/file_names.h"
#include "input/members.h"
#include "language/translation.h"

namespace corvane::input {

namespace {

constexpr std::string_view kPdf = ".pdf";
// A name makes no longer a file name than this, in characters.
constexpr std::size_t kNameInFileName = 40;

std::string numbered(std::size_t line, std::size_t digits) {
    std::string number = std::to_string(line);
    if (number.size() < digits) number.insert(0, digits - number.size(), '0');
    return number;
}

// The first `count` characters of UTF-8 text.
std::string_view firstCharacters(std::string_view text, std::size_t count) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        const bool starts = (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
        if (starts && count-- == 0) return text.substr(0, at);
    }
    return text;
}

}  // namespace

std::string pageFileName(const BatchRecord& record, std::size_t line, std::size_t lines) {
    if (const std::optional<std::string> given = record.field("file")) {
        if (const std::string_view problem = fileNameProblem(*given); !problem.empty()) {
            throw InputError(fillIn(tr("\"file\" {}: {}"), {problem, input::quoted(*given)}));
        }
        return withPdfSuffix(*given);
    }
    const std::string name = fileNamePart(record.field("name").value_or(""));
    if (name.empty()) return numbered(line, 6).append(kPdf);
    const std::size_t digits = std::to_string(lines).size();
    return numbered(line, digits) + "_" + std::string(firstCharacters(name, kNameInFileName)) +
           std::string(kPdf);
}

LineOutcome PendingOutcome::get() {
    if (auto* later = std::get_if<std::future<LineOutcome>>(&outcome_)) return later->get();
    return std::move(std::get<LineOutcome>(outcome_));
}

void Messages::say(std::string_view text) const {
    write((program.empty() ? "" : program + ": ") + std::string(text) + "\n");
}

void Messages::sayAboutLine(std::size_t line, std::string_view text) const {
    say(fillIn(tr("line {}: {}"), {std::to_string(line), text}));
}

Messages messagesTo(std::string program, std::ostream& err) {
    return {std::move(program), [&err](const std::string& line) { err << line << std::flush; }};
}

namespace {

// The line whose numbered file name this is (000042.pdf: 42), or 0.
std::size_t lineNumbered(std::string_view name) {
    if (!name.ends_with(kPdf)) return 0;
    const std::string_view digits = name.substr(0, name.size() - kPdf.size());
    std::size_t line = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), line);
    if (error != std::errc{} || end != digits.data() + digits.size() || line == 0) return 0;
    return numbered(line, 6).append(kPdf) == name ? line : 0;
}

// The file names the lines of one input take. Lines without a name or file
// take their number's name, which no other number gives, so only the other
// names are kept, and for each line whether it took its number's.
class FileClaims {
public:
    // The earlier line that took the name, or 0 once this line has it.
    std::size_t claim(const std::string& name, std::size_t line) {
        tookNumbered_.resize(line, false);
        const std::size_t holder = holderOf(name, line);
        if (holder != 0) return holder;
        if (lineNumbered(name) == line) {
            tookNumbered_[line - 1] = true;
        } else {
            names_.emplace(name, line);
        }
        return 0;
    }

private:
    std::size_t holderOf(const std::string& name, std::size_t line) const {
        if (const auto found = names_.find(name); found != names_.end()) return found->second;
        const std::size_t numbered = lineNumbered(name);
        return numbered != 0 && numbered < line && tookNumbered_[numbered - 1] ? numbered : 0;
    }

    std::map<std::string, std::size_t> names_;
    std::vector<bool> tookNumbered_;  // by line, from line 1
};

// The lines in work, finished in input order.
class LinesInWork {
public:
    LinesInWork(BatchJob& job, const Messages& messages) : job_(job), messages_(messages) {}

    // A line in work, with what is to be told about it before its outcome.
    void add(std::size_t line, PendingOutcome outcome, std::vector<std::string> notes = {}) {
        pending_.push_back({line, std::move(outcome), std::move(notes)});
    }

    // Finishes the oldest lines until no more than `left` are in work.
    void finishUntil(std::size_t left) {
        while (pending_.size() > left) {
            Pending& oldest = pending_.front();
            for (const std::string& note : oldest.notes) messages_.sayAboutLine(oldest.line, note);
            finish(oldest.line, oldest.outcome.get());
            pending_.pop_front();
        }
    }

    BatchTally& tally() { return tally_; }

private:
    void finish(std::size_t line, const LineOutcome& outcome) {
        using Kind = LineOutcome::Kind;
        if (!outcome.note.empty()) messages_.sayAboutLine(line, outcome.note);
        switch (outcome.kind) {
            case Kind::Done: ++tally_.done; break;
            case Kind::Skipped: ++tally_.skipped; break;
            case Kind::Failed:
                ++tally_.failed;
                messages_.sayAboutLine(line, outcome.text);
                break;
            case Kind::Cancelled: break;
        }
        if (outcome.kind != Kind::Cancelled && tally_.finishedUpTo + 1 == line) {
            tally_.finishedUpTo = line;
        }
        job_.finish(line, outcome, tally_);
    }

    BatchJob& job_;
    const Messages& messages_;
    struct Pending {
        std::size_t line;
        PendingOutcome outcome;
        std::vector<std::string> notes;
    };
    std::deque<Pending> pending_;
    BatchTally tally_;
};

}  // namespace

namespace {

// What the whole input was read as and the columns it ignores.
void tellAboutInput(const MembersInput& members, const Messages& messages) {
    if (const std::optional<std::string> note = members.readingNote()) messages.say(*note);
    const std::vector<std::string>& headings = members.ignoredColumns();
    if (headings.empty()) return;
    std::string ignored;
    for (const std::string& heading : headings) {
        ignored =
            ignored.empty() ? quoted(heading) : fillIn(tr("{}, {}"), {ignored, quoted(heading)});
    }
    messages.say(fillIn(trn("ignoring the column {}", "ignoring the columns {}", headings.size()),
                        {ignored}));
}

}  // namespace

BatchTally runBatch(const MembersInput& members, BatchJob& job, const Messages& messages,
                    std::size_t ahead) {
    tellAboutInput(members, messages);
    LinesInWork inWork(job, messages);
    FileClaims claims;
    std::set<std::string> ignoredKeys;
    for (std::size_t number = 1; number <= members.size(); ++number) {
        if (job.stopped()) {
            inWork.tally().stopped = true;
            break;
        }
        std::vector<std::string> notes;
        try {
            BatchLine line{number, members.member(number), {}};
            for (const std::string& key : line.record.ignored) {
                if (ignoredKeys.insert(key).second) {
                    notes.push_back(fillIn(tr("ignoring the key {}"), {input::quoted(key)}));
                }
            }
            line.file = pageFileName(line.record, number, members.size());
            if (const std::size_t holder = claims.claim(line.file, number)) {
                throw InputError(fillIn(tr("file {} is written by line {} already"),
                                        {input::quoted(line.file), std::to_string(holder)}));
            }
            inWork.add(number, job.start(line), std::move(notes));
        } catch (const InputError& error) {
            inWork.add(number, LineOutcome::failed(error.what()), std::move(notes));
        }
        inWork.finishUntil(ahead);
    }
    inWork.finishUntil(0);
    return inWork.tally();
}

}  // namespace corvane::input
