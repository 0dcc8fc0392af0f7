#include "app/platform.h"

#include <unistd.h>

namespace corvane::app {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void useStartingConsole() {}

void useBinaryStandardStreams() {}

bool standardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

}  // namespace corvane::app
