#pragma once

#include <string_view>

#include "engine/box.h"

namespace corvane {

// What an evaluation run needs of the report window.
class Report {
public:
    virtual ~Report() = default;

    // Creates the window if needed and shows it without blocking.
    virtual void show() = 0;
    // Replaces the whole content of one result box.
    virtual void setText(Box box, std::string_view text) = 0;
};

}  // namespace corvane
