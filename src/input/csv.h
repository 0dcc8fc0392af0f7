#pragma once

#include <string>
#include <string_view>
#include <vector>

// Comma-separated values as spreadsheet programs write them: a record a line,
// the cells parted by a separator, a cell that holds the separator, a quote or
// a line end put in double quotes, a quote inside written twice. Only ASCII
// bytes have a meaning here, so the text may be UTF-8 or GB18030, whose
// characters never hold them.
namespace corvane::input {

// The separator a header row uses: the most frequent of comma, semicolon and
// tab outside quotes; a comma when none occurs.
char csvSeparator(std::string_view header);

// The records of the text, without their line ends ("\n" or "\r\n"). A
// quoted cell may span lines; a quote still open at the end of the text ends
// its record at the end of the line it opened in, so that one stray quote
// takes no more than its own line.
std::vector<std::string_view> csvRecords(std::string_view text, char separator);

// The cells of a record, unquoted. InputError when a quoted cell is not
// closed.
std::vector<std::string> csvCells(std::string_view record, char separator);

// Appends the text as one cell, quoted when it holds a separator, a quote, a
// line end or blanks at either end.
void appendCsvCell(std::string& out, std::string_view text, char separator = ',');

}  // namespace corvane::input
