#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <array>
#include <streambuf>
#include <string_view>

// Windows only: text for a console, which shows wide characters whatever its
// code page, while the program writes UTF-8.
namespace corvane::platform {

// Whether a handle is a console's screen buffer rather than a file or a pipe.
bool isConsole(HANDLE handle);

// Writes UTF-8 text to a console as wide characters; false when the console
// took not all of it.
bool writeConsole(HANDLE console, std::string_view utf8);

// A stream buffer that writes a C++ stream's UTF-8 text to a console. A
// character whose bytes a write cuts in two waits for its rest.
class ConsoleBuffer final : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console);

protected:
    int_type overflow(int_type next) override;
    int sync() override;

private:
    bool writeWholeCharacters();

    HANDLE console_;
    std::array<char, 4096> buffer_;
};

}  // namespace corvane::platform
