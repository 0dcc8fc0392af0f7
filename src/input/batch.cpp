#include "input/batch.h"

#include <charconv>
#include <deque>
#include <istream>
#include <map>
#include <ostream>
#include <utility>
#include <vector>

#include "language/translation.h"

namespace corvane::input {

namespace {

constexpr std::string_view kPdf = ".pdf";

bool isControl(std::string_view name, std::size_t at) {
    const auto byte = static_cast<unsigned char>(name[at]);
    const bool c1 = byte == 0xC2 && at + 1 < name.size() &&
                    static_cast<unsigned char>(name[at + 1]) >= 0x80 &&
                    static_cast<unsigned char>(name[at + 1]) <= 0x9F;
    return byte < 0x20 || byte == 0x7F || c1;
}

bool hasControl(std::string_view name) {
    for (std::size_t at = 0; at < name.size(); ++at) {
        if (isControl(name, at)) return true;
    }
    return false;
}

// A space, a no-break space or an ideographic space at either end.
bool startsOrEndsWithBlank(std::string_view text) {
    for (const std::string_view blank : {" ", "\u00A0", "\u3000"}) {
        if (text.starts_with(blank) || text.ends_with(blank)) return true;
    }
    return false;
}

bool endsWithPdf(std::string_view name) {
    if (name.size() < kPdf.size()) return false;
    const std::string_view end = name.substr(name.size() - kPdf.size());
    for (std::size_t i = 0; i < kPdf.size(); ++i) {
        const char c =
            end[i] >= 'A' && end[i] <= 'Z' ? static_cast<char>(end[i] - 'A' + 'a') : end[i];
        if (c != kPdf[i]) return false;
    }
    return true;
}

// Why a given file name cannot be used, or nothing.
std::string_view fileNameProblem(std::string_view name) {
    using namespace std::string_view_literals;
    if (name.empty()) return tr("must not be empty");
    if (name.find_first_of("/\\\0"sv) != std::string_view::npos)
        return tr("must be a file name inside the folder, without '/' or '\\'");
    if (hasControl(name)) return tr("must not hold control characters");
    if (name.find_first_of(":*?\"<>|") != std::string_view::npos)
        return tr("must not hold any of : * ? \" < > |, which Windows refuses in file names");
    if (name.front() == '.') return tr("must not start with '.'");
    if (startsOrEndsWithBlank(name)) return tr("must not start or end with a blank");
    return {};
}

}  // namespace

std::string pageFileName(const std::optional<std::string>& given, std::size_t line) {
    if (!given) {
        std::string number = std::to_string(line);
        if (number.size() < 6) number.insert(0, 6 - number.size(), '0');
        return number.append(kPdf);
    }
    if (const std::string_view problem = fileNameProblem(*given); !problem.empty()) {
        throw InputError(fill(tr("\"file\" {}: {}"), {problem, input::quoted(*given)}));
    }
    return endsWithPdf(*given) ? *given : *given + std::string(kPdf);
}

LineOutcome PendingOutcome::get() {
    if (auto* later = std::get_if<std::future<LineOutcome>>(&outcome_)) return later->get();
    return std::move(std::get<LineOutcome>(outcome_));
}

void Messages::say(std::string_view text) const {
    write(program + ": " + std::string(text) + "\n");
}

void Messages::sayAboutLine(std::size_t line, std::string_view text) const {
    say(fill(tr("line {}: {}"), {std::to_string(line), text}));
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
    return pageFileName(std::nullopt, line) == name ? line : 0;
}

// The file names the lines of one input take. Most lines take their number's
// name, which no other number gives, so only the names that lines give
// themselves are kept, and for each line whether it took its number's.
class FileClaims {
public:
    // The earlier line that took the name, or 0 once this line has it.
    std::size_t claim(const std::string& name, std::size_t line, bool given) {
        tookNumbered_.resize(line, false);
        const std::size_t holder = holderOf(name, line);
        if (holder != 0) return holder;
        if (given) {
            givenNames_.emplace(name, line);
        } else {
            tookNumbered_[line - 1] = true;
        }
        return 0;
    }

private:
    std::size_t holderOf(const std::string& name, std::size_t line) const {
        if (const auto found = givenNames_.find(name); found != givenNames_.end()) {
            return found->second;
        }
        const std::size_t numbered = lineNumbered(name);
        return numbered != 0 && numbered < line && tookNumbered_[numbered - 1] ? numbered : 0;
    }

    std::map<std::string, std::size_t> givenNames_;
    std::vector<bool> tookNumbered_;  // by line, from line 1
};

// The lines in work, finished in input order.
class LinesInWork {
public:
    LinesInWork(BatchJob& job, const Messages& messages) : job_(job), messages_(messages) {}

    void add(std::size_t line, PendingOutcome outcome) {
        pending_.emplace_back(line, std::move(outcome));
    }

    // Finishes the oldest lines until no more than `left` are in work.
    void finishUntil(std::size_t left) {
        while (pending_.size() > left) {
            auto& [line, pending] = pending_.front();
            finish(line, pending.get());
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
    std::deque<std::pair<std::size_t, PendingOutcome>> pending_;
    BatchTally tally_;
};

}  // namespace

BatchTally runBatch(std::istream& in, BatchJob& job, const Messages& messages, std::size_t ahead) {
    LinesInWork inWork(job, messages);
    FileClaims claims;
    std::string text;
    for (std::size_t number = 1;; ++number) {
        if (job.stopped()) {
            inWork.tally().stopped = true;
            break;
        }
        if (!std::getline(in, text)) break;
        try {
            BatchLine line{number, parseBatchRecord(text, kParticularKeys), {}};
            const std::optional<std::string> given = line.record.field("file");
            line.file = pageFileName(given, number);
            if (const std::size_t holder = claims.claim(line.file, number, given.has_value())) {
                throw InputError(fill(tr("file {} is written by line {} already"),
                                      {input::quoted(line.file), std::to_string(holder)}));
            }
            inWork.add(number, job.start(line));
        } catch (const InputError& error) {
            inWork.add(number, LineOutcome::failed(error.what()));
        }
        inWork.finishUntil(ahead);
    }
    inWork.finishUntil(0);
    return inWork.tally();
}

}  // namespace corvane::input
