#include "input/members.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>

#include "input/csv.h"
#include "input/member_values.h"
#include "language/translation.h"

namespace corvane::input {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// What a CSV column gives.
enum class Column { Name, Sex, Age, File, Personality, Ticks, Symptom, Ignored };

struct ColumnName {
    std::string_view heading;
    Column column;
};

// The headings of the columns read, in Chinese and English.
constexpr std::array<ColumnName, 12> kColumnNames = {{
    {"姓名", Column::Name},
    {"name", Column::Name},
    {"性别", Column::Sex},
    {"sex", Column::Sex},
    {"年龄", Column::Age},
    {"age", Column::Age},
    {"文件", Column::File},
    {"file", Column::File},
    {"性格", Column::Personality},
    {"personality", Column::Personality},
    {"症状", Column::Ticks},
    {"ticks", Column::Ticks},
}};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

// The key a particular's column fills in.
std::string_view particularKey(Column column) {
    switch (column) {
        case Column::Name: return "name";
        case Column::Sex: return "sex";
        case Column::Age: return "age";
        case Column::File: return "file";
        default: return {};
    }
}

bool hasNonAscii(std::string_view bytes) {
    return std::ranges::any_of(bytes, [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The lines of the text as std::getline reads them: a last line needs no
// line end.
std::vector<std::string_view> textLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// UTF-8 when the text is UTF-8 throughout; else GB18030 when more of its
// lines are GB18030 and not UTF-8 than the other way round, and no fewer than
// those that could be either. GBK text is UTF-8 by chance in a line here and
// there (肖霞 as "Фϼ"), which then counts for neither, while UTF-8 with a
// damaged line is still UTF-8; its other lines are refused rather than read
// wrong.
TextEncoding encodingOf(std::string_view text) {
    if (isUtf8(text)) return TextEncoding::Utf8;
    TextDecoder gb18030(TextEncoding::Gb18030);
    std::size_t onlyUtf8 = 0;
    std::size_t onlyGb18030 = 0;
    std::size_t either = 0;
    for (const std::string_view line : textLines(text)) {
        if (!hasNonAscii(line)) continue;
        const bool utf8 = isUtf8(line);
        const bool gb = gb18030.toUtf8(line).has_value();
        onlyUtf8 += utf8 && !gb;
        onlyGb18030 += gb && !utf8;
        either += utf8 && gb;
    }
    return onlyGb18030 > onlyUtf8 && onlyGb18030 >= either ? TextEncoding::Gb18030
                                                           : TextEncoding::Utf8;
}

// JSON Lines when the first line that holds anything starts an object or is
// a JSON value whole (a line of JSON Lines gone wrong), else CSV, whose header
// row ("姓名","症状" too) is no JSON value.
MembersFormat formatOf(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || text[first] == '{') return MembersFormat::JsonLines;
    const std::string_view line = text.substr(first, text.find('\n', first) - first);
    return nlohmann::json::accept(line) ? MembersFormat::JsonLines : MembersFormat::Csv;
}

std::string_view separatorName(char separator) {
    switch (separator) {
        case ';': return tr("semicolons");
        case '\t': return tr("tabs");
        default: return tr("commas");
    }
}

// A record that holds nothing but separators, blanks and quotes: a
// spreadsheet's empty row.
bool isEmptyRow(std::string_view record, char separator) {
    return std::ranges::all_of(record, [separator](char c) {
        return c == separator || c == ' ' || c == '\t' || c == '\r' || c == '"';
    });
}

}  // namespace

struct CsvColumn {
    Column column = Column::Ignored;
    int symptom = 0;  // its catalogue index, for a symptom's column
    std::string heading;
};

// What a CSV's header row says: the separator and each column's meaning.
struct CsvLayout {
    char separator = ',';
    std::vector<CsvColumn> columns;

    // Reads the header row; InputError when it names no symptom or one thing twice.
    void read(const std::vector<std::string>& headings) {
        for (const std::string& cell : headings) {
            columns.push_back(meaningOf(cell));
            requireOnce(columns.size() - 1);
        }
        const bool ticks = std::ranges::any_of(columns, [](const CsvColumn& c) {
            return c.column == Column::Ticks || c.column == Column::Symptom;
        });
        if (!ticks) throw InputError(noSymptomColumn(headings));
    }

    void fill(BatchRecord& record, const std::vector<std::string>& cells) const {
        checkWidth(cells);
        Ticks ticks;
        for (std::size_t i = 0; i < columns.size() && i < cells.size(); ++i) {
            const CsvColumn& column = columns[i];
            const std::string_view cell = trimBlanks(cells[i]);
            switch (column.column) {
                case Column::Ignored: break;
                case Column::Ticks: ticks |= ticksFromText(cell); break;
                case Column::Symptom:
                    if (tickedIn(column, cell)) ticks.set(static_cast<std::size_t>(column.symptom));
                    break;
                case Column::Personality:
                    record.assessment.personality = personalityFromText(cell);
                    break;
                case Column::Age:
                    if (auto age = ageFromText(cell)) record.fields.emplace_back("age", *age);
                    break;
                default:
                    if (!cell.empty())
                        record.fields.emplace_back(particularKey(column.column), cell);
            }
        }
        record.assessment.scores = computeScores(ticks);
    }

private:
    static CsvColumn meaningOf(const std::string& cell) {
        const std::string heading(trimBlanks(cell));
        if (heading.empty()) return {Column::Ignored, 0, heading};
        for (const ColumnName& name : kColumnNames) {
            if (equalsIgnoringCase(heading, name.heading)) return {name.column, 0, heading};
        }
        try {
            if (const auto symptom = knownSymptom(heading)) {
                return {Column::Symptom, *symptom, heading};
            }
        } catch (const InputError& error) {
            throw InputError(fillIn(tr("the header row: {}"), {error.what()}));
        }
        return {Column::Ignored, 0, heading};
    }

    // InputError when the column gives what an earlier one gives already.
    void requireOnce(std::size_t latest) const {
        const CsvColumn& added = columns[latest];
        if (added.column == Column::Ignored) return;
        for (std::size_t i = 0; i < latest; ++i) {
            if (columns[i].column != added.column || columns[i].symptom != added.symptom) continue;
            throw InputError(fillIn(tr("the header row: columns {} ({}) and {} ({}) give the same"),
                                    {std::to_string(i + 1), input::quoted(columns[i].heading),
                                     std::to_string(latest + 1), input::quoted(added.heading)}));
        }
    }

    static std::string noSymptomColumn(const std::vector<std::string>& headings) {
        std::string shown;
        for (std::size_t i = 0; i < headings.size() && i < 6; ++i) {
            const std::string heading = input::quoted(headings[i]);
            shown = i == 0 ? heading : fillIn(tr("{}, {}"), {shown, heading});
        }
        if (headings.size() > 6) shown = fillIn(tr("{}, {}"), {shown, "..."});
        return fillIn(tr("the header row names no symptom: give a column 症状 (or ticks) with the "
                         "symptoms ticked, or a column for each symptom headed by its caption or "
                         "number (members are read as JSON Lines when the first line starts with "
                         "'{', else as CSV with a header row; this one holds {})"),
                      {shown});
    }

    void checkWidth(const std::vector<std::string>& cells) const {
        for (std::size_t i = columns.size(); i < cells.size(); ++i) {
            if (!trimBlanks(cells[i]).empty()) {
                throw InputError(
                    fillIn(tr("the line has {} cells where the header row has {}"),
                           {std::to_string(cells.size()), std::to_string(columns.size())}));
            }
        }
    }

    static bool tickedIn(const CsvColumn& column, std::string_view cell) {
        if (const std::optional<bool> ticked = tickMark(cell)) return *ticked;
        throw InputError(fillIn(tr("the column {} holds {}: tick a symptom with 是, 1, √, ✓ or x, "
                                   "and leave it blank (or 否, 0) when not ticked"),
                                {input::quoted(column.heading), input::quoted(cell)}));
    }
};

MembersInput::MembersInput(std::string bytes, std::string source)
    : bytes_(std::move(bytes)), source_(std::move(source)) {
    std::string_view text = bytes_;
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        throw InputError(fillIn(
            tr("{} is UTF-16 text: save the list as CSV (UTF-8 or GB18030) instead"), {source_}));
    }
    const bool marked = text.starts_with(kUtf8Mark);
    if (marked) text.remove_prefix(kUtf8Mark.size());
    encoding_ = marked ? TextEncoding::Utf8 : encodingOf(text);
    decoder_ = std::make_unique<TextDecoder>(encoding_);
    if (formatOf(text) == MembersFormat::JsonLines) {
        lines_ = textLines(text);
        return;
    }
    csv_ = std::make_unique<CsvLayout>();
    csv_->separator = csvSeparator(text.substr(text.find_first_not_of("\r\n")));
    bool headerRead = false;
    for (const std::string_view record : csvRecords(text, csv_->separator)) {
        if (isEmptyRow(record, csv_->separator)) continue;
        if (headerRead) {
            lines_.push_back(record);
            continue;
        }
        csv_->read(csvCells(decoded(record, tr("the header row")), csv_->separator));
        headerRead = true;
    }
}

MembersInput::~MembersInput() = default;

MembersFormat MembersInput::format() const {
    return csv_ ? MembersFormat::Csv : MembersFormat::JsonLines;
}

std::optional<std::string> MembersInput::readingNote() const {
    if (!csv_ && encoding_ == TextEncoding::Utf8) return std::nullopt;
    const std::string_view encoding = encodingName(encoding_);
    if (!csv_) return fillIn(tr("reading {} as {} JSON Lines"), {source_, encoding});
    return fillIn(tr("reading {} as {} CSV separated by {}"),
                  {source_, encoding, separatorName(csv_->separator)});
}

std::vector<std::string> MembersInput::ignoredColumns() const {
    std::vector<std::string> ignored;
    if (!csv_) return ignored;
    for (const CsvColumn& column : csv_->columns) {
        if (column.column == Column::Ignored && !column.heading.empty()) {
            ignored.push_back(column.heading);
        }
    }
    return ignored;
}

std::string MembersInput::decoded(std::string_view bytes, std::string_view what) const {
    std::optional<std::string> text = decoder_->toUtf8(bytes);
    if (!text) {
        throw InputError(fillIn(tr("{} is not valid {} text"), {what, encodingName(encoding_)}));
    }
    return std::move(*text);
}

BatchRecord MembersInput::member(std::size_t number) const {
    const std::string text = decoded(lines_.at(number - 1), tr("the line"));
    if (!csv_) return parseBatchRecord(text);
    BatchRecord record;
    csv_->fill(record, csvCells(text, csv_->separator));
    return record;
}

}  // namespace corvane::input
