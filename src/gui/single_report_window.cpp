#include "gui/single_report_window.h"

#include "gui/report_window.h"
#include "gui/widgets.h"

namespace corvane {

SingleReportWindow::~SingleReportWindow() {
    delete window_;
}

ReportWindow* SingleReportWindow::window() const {
    return window_;
}

ReportWindow& SingleReportWindow::ensureWindow() {
    if (!window_) {
        window_ = new ReportWindow();
        // Beside the questionnaire where the screen has room, so that its
        // buttons stay free.
        if (owner_) window_->placeBeside(*owner_);
    }
    return *window_;
}

void SingleReportWindow::show() {
    ReportWindow& window = ensureWindow();
    window.setDate(today_());
    window.showButtons();
    bringToFront(window);
}

void SingleReportWindow::setText(Box box, std::string_view text) {
    ensureWindow().setResult(box, toQString(text));
}

void SingleReportWindow::close() {
    if (window_) window_->close();
}

}  // namespace corvane
