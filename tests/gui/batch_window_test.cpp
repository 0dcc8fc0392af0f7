// The batch window as office staff use it: a members' file and a folder
// chosen, 开始, the progress shown, 停止 with only whole files left, and 开始
// again taking the batch up where it stopped.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/batch_window.h"
#include "gui/qt_translations.h"

namespace corvane {

using namespace Qt::StringLiterals;

class BatchWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installQtChineseTranslations(); }
    void stopsWithWholeFilesAndGoesOn();
};

namespace {

constexpr int kMembers = 50;
constexpr int kWait = 120'000;  // ms, for a batch under wine on a busy machine

// A spreadsheet's members: a name, a sex, the symptoms in one column.
QByteArray membersCsv() {
    QByteArray csv = "编号,姓名,性别,年龄,症状\r\n";
    for (int k = 0; k < kMembers; ++k) {
        csv += QByteArray::number(k) + ",会员" + QByteArray::number(k) + (k % 2 ? ",男," : ",女,") +
               QByteArray::number(20 + k) + ",\"" + QByteArray::number(k % 79 + 1) + "、" +
               QByteArray::number((k * 7) % 79 + 1) + "\"\r\n";
    }
    return csv;
}

QStringList pagesIn(const QDir& folder) {
    return folder.entryList({u"*.pdf"_s}, QDir::Files);
}

// Every entry of the folder but the table is a whole page, none half written.
void requireWholePages(const QDir& folder) {
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
        if (name == u"汇总.csv"_s) continue;
        QVERIFY2(name.endsWith(u".pdf"_s), qPrintable(name));
        QFile page(folder.filePath(name));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY2(page.readAll().trimmed().endsWith("%%EOF"), qPrintable(name));
    }
}

}  // namespace

void BatchWindowTest::stopsWithWholeFilesAndGoesOn() {
    QTemporaryDir work;
    QFile members(work.filePath(u"会员名单.csv"_s));
    QVERIFY(members.open(QIODevice::WriteOnly));
    members.write(membersCsv());
    members.close();
    const QDir folder(work.filePath(u"报告"_s));

    BatchWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), u"Corvane 批量导出"_s);  // as its Start-menu entry is named
    window.findChild<QLineEdit*>(u"membersFile"_s)->setText(members.fileName());
    window.findChild<QLineEdit*>(u"outputFolder"_s)->setText(folder.path());
    auto* start = window.findChild<QPushButton*>(u"start"_s);
    auto* stop = window.findChild<QPushButton*>(u"stop"_s);
    auto* progress = window.findChild<QProgressBar*>(u"progress"_s);
    auto* summary = window.findChild<QLabel*>(u"summary"_s);
    QVERIFY(!stop->isEnabled());

    start->click();
    QVERIFY(window.isRunning());
    QTRY_VERIFY_WITH_TIMEOUT(progress->value() >= 3, kWait);
    QCOMPARE(progress->maximum(), kMembers);
    QVERIFY(window.windowTitle().endsWith(u"/50）"_s));
    QVERIFY(window.findChild<QLabel*>(u"rate"_s)->text().contains(u"每秒"_s));
    QVERIFY(!start->isEnabled());
    stop->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.isRunning(), kWait);
    const int stoppedAt = static_cast<int>(pagesIn(folder).size());
    QVERIFY2(stoppedAt < kMembers, "停止 stopped nothing");
    requireWholePages(folder);
    QVERIFY(summary->text().startsWith(u"已停止"_s));
    QCOMPARE(window.windowTitle(), u"Corvane 批量导出"_s);

    start->click();  // 跳过已有的PDF文件 is chosen
    QTRY_VERIFY_WITH_TIMEOUT(!window.isRunning(), kWait);
    QCOMPARE(pagesIn(folder).size(), kMembers);
    requireWholePages(folder);
    QCOMPARE(progress->value(), kMembers);
    QCOMPARE(summary->text(), u"已写入 %1 页，跳过 %2 页，失败 0 页。每行的结果在 汇总.csv 中。"_s
                                  .arg(kMembers - stoppedAt)
                                  .arg(stoppedAt));
    QVERIFY(QFile::exists(folder.filePath(u"汇总.csv"_s)));
    QVERIFY(window.findChild<QPushButton*>(u"openFolder"_s)->isEnabled());
}

}  // namespace corvane

QTEST_MAIN(corvane::BatchWindowTest)
#include "batch_window_test.moc"
