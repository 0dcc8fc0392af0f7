#pragma once

#include <string>
#include <vector>

// What corvane needs of the operating system before Qt starts, behind one
// small interface: Windows gives a GUI program neither a console nor its
// command line in UTF-8.
namespace corvane::app {

// The command line as UTF-8 text. On Windows it is read again as UTF-16, so
// that a Chinese file name or name arrives whole whatever the code page; the
// arguments Qt gets are left as they are.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// For a command-line run of the GUI program: on Windows the standard streams
// that the starting terminal did not redirect go to that terminal's console,
// which shows UTF-8 text. Elsewhere nothing is needed.
void useStartingConsole();

// For a command-line run: standard input and standard error as bytes, with no
// line-end conversion on Windows.
void useBinaryStandardStreams();

// Whether standard error is a terminal, where a progress line can be redrawn.
bool standardErrorIsTerminal();

}  // namespace corvane::app
