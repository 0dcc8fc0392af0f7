#include <unistd.h>

#include <cerrno>
#include <iostream>

#include "platform/standard_streams.h"

namespace corvane::platform {

std::vector<std::string> Utf8Arguments::read(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void useStartingConsole() {}

void useStandardStreams() {
    std::ios::sync_with_stdio(false);
}

std::size_t writeStandardOutput(std::string_view bytes) {
    errno = 0;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const std::string_view rest = bytes.substr(written);
        const ssize_t n = ::write(STDOUT_FILENO, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    return written;
}

bool standardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

}  // namespace corvane::platform
