#pragma once

#include <string>

namespace corvane::cli {

// "could not write <what>: <the system's reason>", for a write that failed
// just now (the reason is left out when the system gave none).
std::string writeFailure(const std::string& what);

}  // namespace corvane::cli
