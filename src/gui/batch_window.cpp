#include "gui/batch_window.h"

#include <QButtonGroup>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

#include "export/page_batch.h"
#include "export/results_table.h"
#include "gui/widgets.h"
#include "input/members.h"
#include "report/utf8.h"

namespace corvane {

using namespace Qt::StringLiterals;

namespace {

constexpr int kRedrawMilliseconds = 250;  // four times a second: smooth, and cheap

const QString kTitle = u"Corvane 批量导出"_s;

// A button named for screen readers by its caption, without the key that
// presses it with Alt (开始(&S) is read as 开始).
QPushButton* button(const QString& caption, const char* name, QWidget* parent,
                    QChar key = QChar()) {
    const QString withKey = key.isNull() ? caption : caption + u"(&"_s + key + u")"_s;
    auto* pushButton = new QPushButton(withKey, parent);
    pushButton->setObjectName(name);
    pushButton->setAccessibleName(caption);
    return pushButton;
}

QLineEdit* pathField(const QString& label, const char* name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setAccessibleName(label);
    field->setMinimumWidth(360);
    return field;
}

}  // namespace

BatchWindow::BatchWindow(QWidget* parent) : QWidget(parent) {
    setObjectName("batchWindow");
    setWindowTitle(kTitle);
    setFont(plainFace());
    auto* grid = new QGridLayout(this);
    addChoices(*grid);
    addProgress(*grid);
    connect(&watcher_, &QFutureWatcher<void>::finished, this, &BatchWindow::finish);
    redraw_.setInterval(kRedrawMilliseconds);
    connect(&redraw_, &QTimer::timeout, this, &BatchWindow::showProgress);
    setRunning(false);
}

BatchWindow::~BatchWindow() {
    stopAsked_ = true;
    watcher_.waitForFinished();
}

void BatchWindow::addChoices(QGridLayout& grid) {
    membersFile_ = pathField(u"会员名单"_s, "membersFile", this);
    folder_ = pathField(u"输出文件夹"_s, "outputFolder", this);
    int row = 0;
    // Each field's label takes it the focus with Alt and its key.
    for (auto [field, caption, key, name, choose] :
         {std::tuple{membersFile_, u"会员名单"_s, u'M', "chooseMembersFile",
                     &BatchWindow::chooseMembersFile},
          std::tuple{folder_, u"输出文件夹"_s, u'F', "chooseOutputFolder",
                     &BatchWindow::chooseFolder}}) {
        auto* label = new QLabel(caption + u"(&"_s + key + u")："_s, this);
        label->setBuddy(field);
        auto* chooser = button(u"选择…"_s, name, this);
        chooser->setAccessibleName(u"选择"_s + caption);
        connect(chooser, &QPushButton::clicked, this, choose);
        grid.addWidget(label, row, 0);
        grid.addWidget(field, row, 1);
        grid.addWidget(chooser, row++, 2);
        choices_.insert(choices_.end(), {field, chooser});
    }
    skipExisting_ = new QRadioButton(u"跳过已有的PDF文件（接着上次导出）"_s, this);
    skipExisting_->setObjectName("skipExisting");
    skipExisting_->setChecked(true);
    auto* replace = new QRadioButton(u"替换已有的PDF文件"_s, this);
    replace->setObjectName("replaceExisting");
    grid.addWidget(skipExisting_, row++, 1);
    grid.addWidget(replace, row++, 1);
    choices_.insert(choices_.end(), {skipExisting_, replace});
}

void BatchWindow::addProgress(QGridLayout& grid) {
    start_ = button(u"开始"_s, "start", this, u'S');
    stop_ = button(u"停止"_s, "stop", this, u'T');
    openFolder_ = button(u"打开文件夹"_s, "openFolder", this, u'O');
    auto* buttons = new QHBoxLayout;
    for (QPushButton* each : {start_, stop_, openFolder_}) buttons->addWidget(each);
    choices_.push_back(start_);
    buttons->addStretch();
    progress_ = new QProgressBar(this);
    progress_->setObjectName("progress");
    progress_->setAccessibleName(u"进度"_s);
    progress_->setFormat(u"%v / %m 页"_s);
    rate_ = plainLabel(QString(), this);
    rate_->setObjectName("rate");
    summary_ = plainLabel(QString(), this);
    summary_->setObjectName("summary");
    summary_->setWordWrap(true);
    messages_ = new QPlainTextEdit(this);
    messages_->setObjectName("messages");
    messages_->setAccessibleName(u"消息"_s);
    messages_->setReadOnly(true);
    const int row = grid.rowCount();
    grid.addLayout(buttons, row, 0, 1, 3);
    grid.addWidget(progress_, row + 1, 0, 1, 3);
    grid.addWidget(rate_, row + 2, 0, 1, 3);
    grid.addWidget(summary_, row + 3, 0, 1, 3);
    grid.addWidget(messages_, row + 4, 0, 1, 3);
    connect(start_, &QPushButton::clicked, this, &BatchWindow::start);
    connect(stop_, &QPushButton::clicked, this, &BatchWindow::stop);
    connect(openFolder_, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(folder_->text())); });
}

void BatchWindow::chooseMembersFile() {
    const QString file = QFileDialog::getOpenFileName(
        this, u"选择会员名单"_s, QFileInfo(membersFile_->text()).path(),
        u"会员名单 (*.csv *.txt *.jsonl);;所有文件 (*)"_s);
    if (!file.isEmpty()) membersFile_->setText(QDir::toNativeSeparators(file));
}

void BatchWindow::chooseFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, u"选择输出文件夹"_s, folder_->text());
    if (!folder.isEmpty()) folder_->setText(QDir::toNativeSeparators(folder));
}

void BatchWindow::start() {
    if (isRunning()) return;
    const QString path = QDir::fromNativeSeparators(membersFile_->text().trimmed());
    const QString folder = QDir::fromNativeSeparators(folder_->text().trimmed());
    if (path.isEmpty() || folder.isEmpty()) {
        summary_->setText(u"请先选择会员名单和输出文件夹。"_s);
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        summary_->setText(
            u"无法读取会员名单 %1：%2"_s.arg(QDir::toNativeSeparators(path), file.errorString()));
        return;
    }
    messages_->clear();
    summary_->clear();
    for (auto* count : {&lines_, &finished_, &written_, &skipped_, &failed_}) *count = 0;
    stopAsked_ = false;
    const PageBatchSettings settings{
        folder, skipExisting_->isChecked() ? ExistingPages::Skip : ExistingPages::Replace};
    const std::string name = QFileInfo(path).fileName().toStdString();
    watcher_.setFuture(QtConcurrent::run([this, bytes = file.readAll().toStdString(), name,
                                          settings] { run(bytes, name, settings); }));
    clock_.start();
    setRunning(true);
}

void BatchWindow::run(const std::string& bytes, const std::string& name,
                      const PageBatchSettings& settings) {
    const input::Messages messages{
        {}, [this](const std::string& line) { tell(toQString(line).trimmed()); }};
    try {
        const input::MembersInput members(bytes, name);
        lines_ = members.size();
        const PageBatchHooks hooks{messages,
                                   [this](const input::BatchTally& tally) {
                                       finished_ = tally.done + tally.skipped + tally.failed;
                                       written_ = tally.done;
                                       skipped_ = tally.skipped;
                                       failed_ = tally.failed;
                                   },
                                   [this] { return stopAsked_.load(); }};
        writePageBatch(members, settings, hooks);
    } catch (const input::InputError& error) {
        messages.say(error.what());
    }
}

void BatchWindow::tell(const QString& line) {
    QMetaObject::invokeMethod(
        this, [this, line] { messages_->appendPlainText(line); }, Qt::QueuedConnection);
}

void BatchWindow::stop() {
    stopAsked_ = true;
    stop_->setEnabled(false);
    summary_->setText(u"正在停止：做完手头的页面…"_s);
}

void BatchWindow::showProgress() {
    progress_->setMaximum(static_cast<int>(lines_.load()));
    progress_->setValue(static_cast<int>(finished_.load()));
    const double seconds = clock_.elapsed() / 1000.0;
    const double rate = seconds > 0 ? static_cast<double>(written_.load()) / seconds : 0;
    rate_->setText(u"已完成 %1 / %2 行，每秒 %3 页"_s.arg(finished_.load())
                       .arg(lines_.load())
                       .arg(rate, 0, 'f', 1));
    // The title shows it too, in the task bar while the window is minimised.
    setWindowTitle(u"%1（%2/%3）"_s.arg(kTitle).arg(finished_.load()).arg(lines_.load()));
}

void BatchWindow::finish() {
    showProgress();
    setRunning(false);
    setWindowTitle(kTitle);
    QString summary = u"已写入 %1 页，跳过 %2 页，失败 %3 页。"_s.arg(written_.load())
                          .arg(skipped_.load())
                          .arg(failed_.load());
    if (stopAsked_) summary.prepend(u"已停止，手头的页面已做完。"_s);
    if (finished_ > 0) summary.append(u"每行的结果在 %1 中。"_s.arg(toQString(kResultsTableName)));
    summary_->setText(summary);
    emit batchFinished();
}

void BatchWindow::setRunning(bool running) {
    running_ = running;
    for (QWidget* choice : choices_) choice->setEnabled(!running);
    stop_->setEnabled(running);
    openFolder_->setEnabled(!running && !folder_->text().trimmed().isEmpty());
    if (running) {
        redraw_.start();
    } else {
        redraw_.stop();
    }
}

}  // namespace corvane
