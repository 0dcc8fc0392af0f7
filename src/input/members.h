#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/assessment.h"
#include "input/text.h"

namespace corvane::input {

enum class MembersFormat { JsonLines, Csv };

struct CsvLayout;

// The members of one batch input, as staff bring them: JSON Lines (one
// object a line), or CSV as a spreadsheet saves it, its header row naming
// the columns: 姓名/name, 性别/sex, 年龄/age, 文件/file, 性格/personality, 症状/ticks,
// or one column per symptom headed by its caption or number. The format and
// the encoding (UTF-8, with or without a byte order mark, else GB18030) are
// decided once, for the whole input: a file is either, never line by line.
class MembersInput {
public:
    // The input's bytes and what to call it in messages ("standard input",
    // members.csv). InputError when it cannot be read at all: UTF-16 text, a
    // CSV header that names no symptom, or one thing in two columns.
    MembersInput(std::string bytes, std::string source);
    ~MembersInput();
    MembersInput(const MembersInput&) = delete;
    MembersInput& operator=(const MembersInput&) = delete;

    const std::string& source() const { return source_; }
    MembersFormat format() const;
    TextEncoding encoding() const { return encoding_; }
    // "reading members.csv as GB18030 CSV separated by commas": what the
    // input was taken for; nothing for UTF-8 JSON Lines, which need no word.
    std::optional<std::string> readingNote() const;
    // The headings of a CSV's columns that nothing reads, in their order.
    std::vector<std::string> ignoredColumns() const;

    // How many members the input holds: its lines, a CSV's after its header
    // and without empty rows. They are numbered from 1.
    std::size_t size() const { return lines_.size(); }

    // The member of that number, read; InputError when its line cannot be.
    // Not for two threads at once.
    BatchRecord member(std::size_t number) const;

private:
    // The bytes as UTF-8 text; InputError, naming what they are, when they
    // are not text in the input's encoding.
    std::string decoded(std::string_view bytes, std::string_view what) const;

    std::string bytes_;
    std::string source_;
    TextEncoding encoding_ = TextEncoding::Utf8;
    std::vector<std::string_view> lines_;  // each member's bytes, in bytes_
    std::unique_ptr<CsvLayout> csv_;       // a CSV's columns
    std::unique_ptr<TextDecoder> decoder_;
};

}  // namespace corvane::input
