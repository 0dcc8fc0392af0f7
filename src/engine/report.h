#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/rules/rule.h"

namespace corvane {

// The three result boxes in the order the report shows them, each with the
// heading printed above it.
inline constexpr std::array<Box, 3> kReportBoxes = {Box::Diagnosis, Box::Diet, Box::Personality};

constexpr std::string_view heading(Box box) {
    switch (box) {
        case Box::Diagnosis: return "体质诊断结果";
        case Box::Diet: return "调理建议";
        case Box::Personality: return "性格调整";
    }
    return "";
}

// What an evaluation run needs of the report window.
class Report {
public:
    virtual ~Report() = default;

    // Creates the window if needed and shows it without blocking.
    virtual void show() = 0;
    // Replaces the whole content of one result box.
    virtual void setText(Box box, std::string_view text) = 0;
};

// A report that only keeps its three boxes; the evaluator and the tests use it
// where no window is wanted.
class MemoryReport : public Report {
public:
    void show() override { shown_ = true; }
    void setText(Box box, std::string_view text) override { texts_[slot(box)] = text; }

    // The report window's Cancel: hide and empty the diagnosis box.
    void cancel() {
        shown_ = false;
        texts_[slot(Box::Diagnosis)].clear();
    }

    const std::string& text(Box box) const { return texts_[slot(box)]; }
    bool shown() const { return shown_; }

private:
    static std::size_t slot(Box box) { return static_cast<std::size_t>(box); }

    std::array<std::string, 3> texts_;
    bool shown_ = false;
};

}  // namespace corvane
