#pragma once

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "export/page_batch.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace corvane {

// The batch export for desks without a terminal, "Corvane 批量导出": choose the
// members' file and the output folder, skip or replace the pages that exist,
// 开始. The same batch as corvane --pdf-dir runs off the GUI thread while a
// progress bar shows the pages done of all and the pages a second; 停止
// finishes the pages in hand. At the end it tells the pages written, skipped
// and failed, each failed line with its reason, and opens the folder on request.
class BatchWindow : public QWidget {
    Q_OBJECT

public:
    explicit BatchWindow(QWidget* parent = nullptr);
    // A batch still running is stopped after the pages in hand.
    ~BatchWindow() override;

    // From 开始 until the batch's end has been shown.
    bool isRunning() const { return running_; }

signals:
    // A batch has ended, whole or stopped.
    void batchFinished();

private:
    void addChoices(QGridLayout& grid);
    void addProgress(QGridLayout& grid);
    void chooseMembersFile();
    void chooseFolder();
    void start();
    // The batch, on a thread of its own.
    void run(const std::string& bytes, const std::string& name, const PageBatchSettings& settings);
    void stop();
    void showProgress();
    void finish();
    void tell(const QString& line);
    void setRunning(bool running);

    std::vector<QWidget*> choices_;  // what cannot change while a batch runs
    QLineEdit* membersFile_;
    QLineEdit* folder_;
    QRadioButton* skipExisting_;
    QPushButton* start_;
    QPushButton* stop_;
    QProgressBar* progress_;
    QLabel* rate_;
    QLabel* summary_;
    QPlainTextEdit* messages_;
    QPushButton* openFolder_;

    bool running_ = false;
    QFutureWatcher<void> watcher_;
    QTimer redraw_;
    QElapsedTimer clock_;
    std::atomic<bool> stopAsked_{false};
    std::atomic<std::size_t> lines_{0};     // of the input being read
    std::atomic<std::size_t> finished_{0};  // lines finished so far
    std::atomic<std::size_t> written_{0};   // pages written so far
    std::atomic<std::size_t> skipped_{0};
    std::atomic<std::size_t> failed_{0};
};

}  // namespace corvane
