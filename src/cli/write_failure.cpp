#include "cli/write_failure.h"

#include <cerrno>
#include <cstring>

#include "language/translation.h"

namespace corvane::cli {

std::string writeFailure(const std::string& what) {
    if (errno == 0) return fillIn(tr("could not write {}"), {what});
    return fillIn(tr("could not write {}: {}"), {what, std::strerror(errno)});
}

}  // namespace corvane::cli
