#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What a command-line run of either program needs of the operating system,
// behind one small interface: Windows gives a program its command line in the
// ANSI code page, a GUI program no console, and a console shows UTF-8 bytes
// only in the UTF-8 code page.
namespace corvane::platform {

// The command line as UTF-8 text, for a parser that takes argc and argv. On
// Windows it is read again as UTF-16, so that a Chinese caption, name or file
// name arrives whole whatever the code page.
class Utf8Arguments {
public:
    Utf8Arguments(int argc, char** argv) : strings_(read(argc, argv)) {
        for (const std::string& argument : strings_) pointers_.push_back(argument.c_str());
    }

    int argc() const { return static_cast<int>(pointers_.size()); }
    const char* const* argv() const { return pointers_.data(); }

private:
    static std::vector<std::string> read(int argc, char** argv);

    std::vector<std::string> strings_;
    std::vector<const char*> pointers_;
};

// For a command-line run of the GUI program: on Windows the standard streams
// that the starting terminal did not redirect go to that terminal's console.
// Elsewhere nothing is needed. Call before useStandardStreams.
void useStartingConsole();

// For a command-line run, before anything is read or written: the standard
// streams as bytes, with no line-end conversion on Windows, and the C++
// streams not synchronised with C's stdio. Standard output and standard error
// that are a Windows console get the program's UTF-8 text as the console's
// wide characters; redirected to a file or a pipe they get the UTF-8 bytes.
void useStandardStreams();

// Writes bytes straight to standard output, past std::cout's buffer (a
// console gets them as wide characters); returns how many of them were
// written, all of them unless the output failed.
std::size_t writeStandardOutput(std::string_view bytes);

// Whether standard error is a terminal (on Windows, a console), where a
// progress line can be redrawn.
bool standardErrorIsTerminal();

}  // namespace corvane::platform
