#include "cli/write_failure.h"

#include <cerrno>
#include <cstring>

namespace corvane::cli {

std::string writeFailure(const std::string& what) {
    std::string message = "could not write " + what;
    if (errno != 0) message.append(": ").append(std::strerror(errno));
    return message;
}

}  // namespace corvane::cli
