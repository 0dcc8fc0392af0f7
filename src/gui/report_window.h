#pragma once

#include <QDate>
#include <QFutureWatcher>
#include <functional>
#include <stop_token>

#include "engine/box.h"
#include "gui/page_printer.h"
#include "gui/page_window.h"
#include "gui/report_page.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace corvane {

class Twips;

// The report window: a one-page report with the client's particulars, the
// three result boxes written by a diagnosis, and 打印 and 取消 buttons.
class ReportWindow : public PageWindow {
    Q_OBJECT

public:
    explicit ReportWindow(QWidget* parent = nullptr);
    ~ReportWindow() override;
    ReportWindow(const ReportWindow&) = delete;
    ReportWindow& operator=(const ReportWindow&) = delete;

    void setResult(Box box, const QString& text);
    QString result(Box box) const;

    // Both date labels, beside 日期 and under the signature, as the system's short date.
    void setDate(const QDate& date);

    // What the report says as it stands, for the printed page.
    ReportContent content() const;

    // Shows 打印 and 取消 again for a new report, also after a print.
    void showButtons();

    // How 打印 prints the page, on a worker thread; it should stop waiting
    // once asked to. The default printer unless a test says otherwise.
    using PagePrinter =
        std::function<PrintResult(const ReportContent& content, std::stop_token stop)>;
    void setPagePrinter(PagePrinter printer) { pagePrinter_ = std::move(printer); }

    // While 打印's job is being prepared and sent.
    bool isPrinting() const { return printJob_.isRunning(); }

    // How 另存为PDF… asks where to save, offering a path; an empty answer
    // saves nothing. A save dialog unless a test says otherwise.
    using FileNameAsker = std::function<QString(QWidget* parent, const QString& offered)>;
    void setFileNameAsker(FileNameAsker asker) { askFileName_ = std::move(asker); }

signals:
    // 打印's job has ended, printed or not; a failure is being shown.
    void printFinished();

private:
    void print();
    void finishPrint();
    void cancel();
    void showPrintProblem(const PrintResult& result);
    void saveAsPdf();

    void addRulingLines(const Twips& twips);
    void addParticulars(const Twips& twips);
    void addResultBoxes(const Twips& twips);
    void addFooter(const Twips& twips);

    QTextEdit* resultBox(Box box) const;

    PagePrinter pagePrinter_ = [](const ReportContent& content, std::stop_token stop) {
        return printOnDefaultPrinter(content, std::move(stop));
    };
    QFutureWatcher<PrintResult> printJob_;
    std::stop_source stopPrinting_;
    FileNameAsker askFileName_;
    QDate date_;
    QLineEdit* name_ = nullptr;
    QLineEdit* sex_ = nullptr;
    QLineEdit* age_ = nullptr;
    QLabel* dateLabel_ = nullptr;
    PerBox<QTextEdit*> resultBoxes_;
    QPushButton* printButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QLineEdit* signature_ = nullptr;
    QLabel* signatureDateLabel_ = nullptr;
};

}  // namespace corvane
