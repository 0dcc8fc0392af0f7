#pragma once

#include <string>
#include <string_view>

// Windows only: its API takes text as UTF-16, the program's text is UTF-8.
namespace corvane::platform {

// UTF-8 to and from the UTF-16 of the Windows API. Bytes that are not UTF-8
// become U+FFFD rather than ending the conversion.
std::wstring wideText(std::string_view utf8);
std::string utf8Text(std::wstring_view wide);

}  // namespace corvane::platform
