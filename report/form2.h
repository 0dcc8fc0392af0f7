#pragma once

#include <QWidget>
#include <functional>

#include "report/page_printer.h"
#include "rules/rule.h"

class QTextEdit;
class QPushButton;

namespace corvane {

class Twips;

// The report window: a one-page report with the client's particulars, the
// three result boxes written by a diagnosis, and 打印 and 取消 buttons.
class Form2 : public QWidget {
    Q_OBJECT

public:
    explicit Form2(QWidget* parent = nullptr);

    void setResult(Box box, const QString& text);
    QString result(Box box) const;

    // How 打印 prints the window; the default printer unless a test says otherwise.
    using PagePrinter = std::function<PrintOutcome(QWidget& page)>;
    void setPagePrinter(PagePrinter printer) { pagePrinter_ = std::move(printer); }

private:
    void print();
    void cancel();
    void showPrintProblem(const QString& problem);

    void addControls(const Twips& twips);
    void addRulingLines(const Twips& twips);
    void drawSignatureAsLine();
    void nameBoxesByHeadings();
    void setDates();

    QTextEdit* resultBox(Box box) const;

    PagePrinter pagePrinter_ = printOnDefaultPrinter;
    QPushButton* printButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace corvane
