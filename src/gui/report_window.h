#pragma once

#include <QDate>
#include <array>
#include <functional>

#include "engine/report.h"
#include "engine/rules/rule.h"
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

    void setResult(Box box, const QString& text);
    QString result(Box box) const;

    // Both date labels, beside 日期 and under the signature, as the system's short date.
    void setDate(const QDate& date);

    // What the report says as it stands, for the printed page.
    ReportContent content() const;

    // How 打印 prints the page; the default printer unless a test says otherwise.
    using PagePrinter = std::function<PrintOutcome(const ReportContent& content)>;
    void setPagePrinter(PagePrinter printer) { pagePrinter_ = std::move(printer); }

    // How 另存为PDF… asks where to save, offering a path; an empty answer
    // saves nothing. A save dialog unless a test says otherwise.
    using FileNameAsker = std::function<QString(QWidget* parent, const QString& offered)>;
    void setFileNameAsker(FileNameAsker asker) { askFileName_ = std::move(asker); }

protected:
    // Esc does what 取消 does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void print();
    void cancel();
    void showPrintProblem(PrintOutcome outcome);
    void saveAsPdf();

    void addRulingLines(const Twips& twips);
    void addParticulars(const Twips& twips);
    void addResultBoxes(const Twips& twips);
    void addFooter(const Twips& twips);

    QTextEdit* resultBox(Box box) const;

    PagePrinter pagePrinter_ = printOnDefaultPrinter;
    FileNameAsker askFileName_;
    QDate reportDate_;
    QLineEdit* name_ = nullptr;
    QLineEdit* sex_ = nullptr;
    QLineEdit* age_ = nullptr;
    QLabel* date_ = nullptr;
    std::array<QTextEdit*, kReportBoxes.size()> resultBoxes_{};  // by Box
    QPushButton* printButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QLineEdit* signature_ = nullptr;
    QLabel* signatureDate_ = nullptr;
};

}  // namespace corvane
