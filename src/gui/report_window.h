#pragma once

#include <QWidget>
#include <functional>

#include "engine/rules/rule.h"
#include "gui/page_printer.h"

class QDate;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace corvane {

class Twips;

// The report window: a one-page report with the client's particulars, the
// three result boxes written by a diagnosis, and 打印 and 取消 buttons.
class ReportWindow : public QWidget {
    Q_OBJECT

public:
    explicit ReportWindow(QWidget* parent = nullptr);

    void setResult(Box box, const QString& text);
    QString result(Box box) const;

    // Both date labels, beside 日期 and under the signature, as the system's short date.
    void setDate(const QDate& date);

    // How 打印 prints the window; the default printer unless a test says otherwise.
    using PagePrinter = std::function<PrintOutcome(QWidget& page)>;
    void setPagePrinter(PagePrinter printer) { pagePrinter_ = std::move(printer); }

private:
    void print();
    void cancel();
    void showPrintProblem(const QString& problem);

    void addRulingLines(const Twips& twips);
    void addParticulars(const Twips& twips);
    void addResultBoxes(const Twips& twips);
    void addFooter(const Twips& twips);

    QTextEdit* resultBox(Box box) const;

    PagePrinter pagePrinter_ = printOnDefaultPrinter;
    QLineEdit* name_ = nullptr;
    QLineEdit* sex_ = nullptr;
    QLineEdit* age_ = nullptr;
    QLabel* date_ = nullptr;
    QTextEdit* diagnosis_ = nullptr;
    QTextEdit* diet_ = nullptr;
    QTextEdit* personality_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QLineEdit* signature_ = nullptr;
    QLabel* signatureDate_ = nullptr;
};

}  // namespace corvane
