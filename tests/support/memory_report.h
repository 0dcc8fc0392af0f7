#pragma once

#include <string>
#include <string_view>

#include "engine/report.h"

namespace corvane::testing {

// A report that only keeps its three boxes, for runs where no window is wanted;
// it models the window's 取消 as well.
class MemoryReport : public Report {
public:
    void show() override { shown_ = true; }
    void setText(Box box, std::string_view text) override { texts_[box] = text; }

    // The report window's 取消: hide and empty the diagnosis box.
    void cancel() {
        shown_ = false;
        texts_[Box::Diagnosis].clear();
    }

    const std::string& text(Box box) const { return texts_[box]; }
    bool shown() const { return shown_; }

private:
    PerBox<std::string> texts_;
    bool shown_ = false;
};

}  // namespace corvane::testing
