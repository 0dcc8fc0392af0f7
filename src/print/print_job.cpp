#include "print/print_job.h"

#include <QtConcurrent/QtConcurrentRun>

#include "print/page_printer.h"

namespace corvane {

PrintJob::PrintJob(QObject* parent)
    : QObject(parent), printer_([](const ReportContent& content, std::stop_token stop) {
          return printOnDefaultPrinter(content, std::move(stop));
      }) {
    connect(&watcher_, &QFutureWatcher<PrintResult>::finished, this,
            [this] { emit finished(watcher_.result(), content_); });
}

PrintJob::~PrintJob() {
    stop_.request_stop();
}

bool PrintJob::start(const ReportContent& content) {
    if (isRunning()) return false;
    content_ = content;
    watcher_.setFuture(QtConcurrent::run(printer_, content, stop_.get_token()));
    return true;
}

}  // namespace corvane
