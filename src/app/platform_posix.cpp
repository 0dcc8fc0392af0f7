#include "app/platform.h"

namespace corvane::app {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void useStartingConsole() {}

void useBinaryStandardStreams() {}

}  // namespace corvane::app
