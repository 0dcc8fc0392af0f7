#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <functional>
#include <stop_token>

#include "print/print_result.h"
#include "report/report_content.h"

namespace corvane {

// One print of the report page at a time, drawn and sent on a worker thread
// while the window that started it goes on answering.
class PrintJob : public QObject {
    Q_OBJECT

public:
    explicit PrintJob(QObject* parent = nullptr);
    // A job still waiting for the server stops waiting; its outcome is not told.
    ~PrintJob() override;
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // How the page is printed, on the worker thread; it should stop waiting
    // once asked to. The default printer unless a test says otherwise.
    using PagePrinter =
        std::function<PrintResult(const ReportContent& content, std::stop_token stop)>;
    void setPagePrinter(PagePrinter printer) { printer_ = std::move(printer); }

    // Starts printing the content; false, and nothing started, while a job runs.
    bool start(const ReportContent& content);
    bool isRunning() const { return watcher_.isRunning(); }

signals:
    // The job has ended, printed or not, with the content it printed: a
    // report the window has moved on from is still the one that job was for.
    void finished(const corvane::PrintResult& result, const corvane::ReportContent& content);

private:
    PagePrinter printer_;
    ReportContent content_;
    QFutureWatcher<PrintResult> watcher_;
    std::stop_source stop_;
};

}  // namespace corvane
