#pragma once

#include <string>
#include <string_view>

// File names made from what people typed, for every system the pages go to:
// the batch's pages, the window's offered name.
namespace corvane::input {

// Why a file name given as it stands cannot be used, or nothing: slashes,
// control characters, what Windows refuses (: * ? " < > |), a leading dot,
// leading or trailing blanks.
std::string_view fileNameProblem(std::string_view name);

// Text made fit for a file name: blanks trimmed at both ends, and every
// character a file name cannot hold (a slash, a control character, one of
// : * ? " < > |) replaced by '_'.
std::string fileNamePart(std::string_view text);

// The name with ".pdf" added unless it ends so already, in any letter case.
std::string withPdfSuffix(std::string name);

}  // namespace corvane::input
