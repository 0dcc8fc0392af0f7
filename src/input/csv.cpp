#include "input/csv.h"

#include <algorithm>
#include <array>

#include "input/assessment.h"
#include "language/translation.h"

namespace corvane::input {

namespace {

// One record read from `from`: where it ends (its line end, or npos at the
// end of the text), whether its quotes were closed, and its cells when asked.
struct RecordRead {
    std::size_t end = std::string_view::npos;
    bool closed = true;
};

RecordRead readRecord(std::string_view text, std::size_t from, char separator,
                      std::vector<std::string>* cells) {
    const auto add = [cells](char c) {
        if (cells) cells->back().push_back(c);
    };
    if (cells) cells->assign(1, {});
    bool cellStart = true;
    bool quoted = false;
    for (std::size_t at = from; at < text.size(); ++at) {
        const char c = text[at];
        if (quoted) {
            if (c != '"') {
                add(c);
            } else if (at + 1 < text.size() && text[at + 1] == '"') {
                add('"');
                ++at;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == '\n') return {at, true};
        if (c == separator) {
            if (cells) cells->emplace_back();
            cellStart = true;
            continue;
        }
        if (c == '"' && cellStart) {
            quoted = true;
        } else {
            add(c);
        }
        cellStart = false;
    }
    return {std::string_view::npos, !quoted};
}

std::string_view withoutCarriageReturn(std::string_view line) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

}  // namespace

char csvSeparator(std::string_view header) {
    constexpr std::array<char, 3> kSeparators = {',', ';', '\t'};
    std::array<std::size_t, 3> counts{};
    bool quoted = false;
    for (const char c : header.substr(0, header.find('\n'))) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        for (std::size_t i = 0; i < kSeparators.size(); ++i) counts[i] += c == kSeparators[i];
    }
    const auto most = std::max_element(counts.begin(), counts.end());
    return *most == 0 ? ',' : kSeparators[static_cast<std::size_t>(most - counts.begin())];
}

std::vector<std::string_view> csvRecords(std::string_view text, char separator) {
    std::vector<std::string_view> records;
    std::size_t from = 0;
    while (from < text.size()) {
        RecordRead read = readRecord(text, from, separator, nullptr);
        if (!read.closed) read.end = text.find('\n', from);
        const std::size_t end = std::min(read.end, text.size());
        records.push_back(withoutCarriageReturn(text.substr(from, end - from)));
        if (read.end == std::string_view::npos) break;
        from = read.end + 1;
    }
    return records;
}

std::vector<std::string> csvCells(std::string_view record, char separator) {
    std::vector<std::string> cells;
    if (!readRecord(record, 0, separator, &cells).closed) {
        throw InputError(tr("a quoted cell is not closed: its closing '\"' is missing"));
    }
    return cells;
}

void appendCsvCell(std::string& out, std::string_view text, char separator) {
    const char special[] = {separator, '"', '\n', '\r', '\0'};
    const bool plain = text.find_first_of(special) == std::string_view::npos &&
                       !text.starts_with(' ') && !text.ends_with(' ');
    if (plain) {
        out.append(text);
        return;
    }
    out.push_back('"');
    for (const char c : text) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

}  // namespace corvane::input
