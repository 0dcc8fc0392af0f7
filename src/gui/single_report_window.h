#pragma once

#include <QPointer>

#include "engine/report.h"

class QWidget;

namespace corvane {

class ReportWindow;

// The single report window as the evaluation run sees it: the window is
// created the first time a run shows it, and again after the user closed it
// with the frame's close control.
class SingleReportWindow : public Report {
public:
    explicit SingleReportWindow(QWidget* owner) : owner_(owner) {}
    ~SingleReportWindow() override;
    SingleReportWindow(const SingleReportWindow&) = delete;
    SingleReportWindow& operator=(const SingleReportWindow&) = delete;

    void show() override;
    void setText(Box box, std::string_view text) override;

    // Closes the window as its frame's close control does; it is destroyed.
    void close();

    // The window while it exists, else null.
    ReportWindow* window() const;

private:
    ReportWindow& ensureWindow();

    QWidget* owner_;
    QPointer<ReportWindow> window_;
};

}  // namespace corvane
