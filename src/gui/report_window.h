#pragma once

#include <QDate>
#include <functional>

#include "engine/box.h"
#include "gui/page_window.h"
#include "print/print_job.h"
#include "report/report_content.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace corvane {

struct Evaluation;
class Twips;

// The report window: a one-page report with the client's particulars, the
// three result boxes a diagnosis fills, and 打印 and 取消 buttons.
class ReportWindow : public PageWindow {
    Q_OBJECT

public:
    explicit ReportWindow(QWidget* parent = nullptr);

    // Shows a diagnosis: the three boxes as the evaluation decided them (a
    // box it wrote nothing into empty), both dates set to today, both buttons
    // shown (also after a print), the particulars kept; the window comes to
    // the front, with the focus in 会员姓名 when no name is typed yet.
    void showDiagnosis(const Evaluation& evaluation, const QDate& today);

    void setResult(Box box, const QString& text);
    QString result(Box box) const;

    // Both date labels, beside 日期 and under the signature, as the system's short date.
    void setDate(const QDate& date);

    // What the report says as it stands, for the printed page.
    ReportContent content() const;

    // 打印's job; a test may print elsewhere through it.
    PrintJob& printJob() { return printJob_; }
    bool isPrinting() const { return printJob_.isRunning(); }

    // How 另存为PDF… (Ctrl+S, the page's context menu, a print failure's
    // message) asks where to save, offering a path; an empty answer saves
    // nothing. A save dialog unless a test says otherwise.
    using FileNameAsker = std::function<QString(QWidget* parent, const QString& offered)>;
    void setFileNameAsker(FileNameAsker asker) { askFileName_ = std::move(asker); }

signals:
    // 打印's job has ended, printed or not; a failure is being shown.
    void printFinished();

private:
    void print();
    void finishPrint(const PrintResult& result, const ReportContent& printed);
    void cancel();
    void showButtons();
    void showPrintProblem(const PrintResult& result, const ReportContent& printed);
    void saveAsPdf(const ReportContent& report);
    void addSaveAction();

    void addRulingLines(const Twips& twips);
    void addParticulars(const Twips& twips);
    void addResultBoxes(const Twips& twips);
    void addFooter(const Twips& twips);

    PrintJob printJob_;
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
