// The about window, and how 系统信息 finds the system-information tool,
// with the registry, the files and the PATH played by a fake system.
#include <QLabel>
#include <QPointer>
#include <map>
#include <set>
#include <stdexcept>

#include "about/frmabout.h"
#include "about/registry_value.h"
#include "about/sysinfo.h"
#include "gui_test_support.h"

using namespace corvane;
using namespace corvane::test;

namespace {

const QString kMsinfo = R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)";
const QString kTools = R"(SOFTWARE\Microsoft\Shared Tools Location)";

// A system whose registry, files and PATH hold what the test puts there,
// and which remembers what was asked of it.
struct FakeSystem : SystemInfoHost {
    std::map<std::pair<QString, QString>, QString> registry;
    std::set<QString> files;
    std::map<QString, QString> path;
    bool startFails = false;
    bool lookupThrows = false;

    QStringList lookups;
    QStringList started;
    QStringList messages;

    std::optional<std::string> machineValue(const std::string& key,
                                            const std::string& value) override {
        const QString k = QString::fromStdString(key), v = QString::fromStdString(value);
        lookups.append(k + " " + v);
        if (lookupThrows) throw std::runtime_error("registry unreadable");
        const auto found = registry.find({k, v});
        if (found == registry.end()) return std::nullopt;
        return found->second.toStdString();
    }
    bool fileExists(const std::string& file) override {
        lookups.append("file " + QString::fromStdString(file));
        return files.contains(QString::fromStdString(file));
    }
    std::string findProgram(const std::string& name) override {
        const auto found = path.find(QString::fromStdString(name));
        return found == path.end() ? std::string() : found->second.toStdString();
    }
    bool start(const std::string& program) override {
        started.append(QString::fromStdString(program));
        return !startFails;
    }
    void showMessage(const std::string& text) override {
        messages.append(QString::fromStdString(text));
    }
};

std::span<const std::byte> bytesOf(const std::u16string& text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

}  // namespace

class AboutWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsTitleDescriptionAndButtons();
    void okDestroysTheWindow();
    void sysInfoButtonStartsTheToolOrSaysItIsMissing();

    void registryPathComesFirst();
    void sharedToolsFolderNeedsTheProgramFile();
    void wellKnownProgramOnThePath();
    void nothingFoundOrStartFailedGivesTheMessage();

    void stringValuesKeepTheirLastCharacter();
    void readsNeverPassTheBuffer();
    void numbersBecomeDecimalText();
};

void AboutWindowTest::showsTitleDescriptionAndButtons() {
    FrmAbout about;
    QCOMPARE(about.windowTitle(), "说明");
    QCOMPARE(control<QLabel>(about, "lblTitle").text(), "Corvane1.0");
    QVERIFY(control<QLabel>(about, "lblVersion").text().isEmpty());
    const QLabel& description = control<QLabel>(about, "lblDescription");
    QVERIFY(description.text().startsWith("简介：本软件通过简单选择后即可自动诊断人体体质，"));
    QVERIFY(description.text().endsWith("凡是病情较重或较复杂的人请遵医嘱。"));
    QVERIFY(description.wordWrap());
    QVERIFY(description.heightForWidth(description.width()) <= description.height());
    QVERIFY(!control<QLabel>(about, "picIcon").pixmap().isNull());
    QCOMPARE(control<QAbstractButton>(about, "cmdOK").text(), "确定");
    QCOMPARE(control<QAbstractButton>(about, "cmdSysInfo").text(), "系统信息(&S)...");
    const auto& sysInfo = control<QAbstractButton>(about, "cmdSysInfo");
    QVERIFY(sysInfo.sizeHint().width() <= sysInfo.width());
    QCOMPARE(about.findChildren<QWidget*>("Line1").size(), 2);
}

void AboutWindowTest::okDestroysTheWindow() {
    QPointer<FrmAbout> about = new FrmAbout();
    about->show();
    click(*about, "cmdOK");
    runDeferredDeletes();
    QVERIFY(about.isNull());
}

void AboutWindowTest::sysInfoButtonStartsTheToolOrSaysItIsMissing() {
    FrmAbout about;
    about.show();
    about.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    auto system = std::make_unique<FakeSystem>();
    FakeSystem& fake = *system;
    about.setSystemInfoHost(std::move(system));
    click(about, "cmdSysInfo");
    QCOMPARE(fake.messages, QStringList{"此时系统信息不可用"});

    fake.path["kinfocenter"] = "/usr/bin/kinfocenter";
    QTest::keyClick(&about, Qt::Key_S, Qt::AltModifier);  // the accelerator clicks a moment later
    QTRY_COMPARE(fake.started, QStringList{"/usr/bin/kinfocenter"});
    QCOMPARE(fake.messages.size(), 1);
}

void AboutWindowTest::registryPathComesFirst() {
    FakeSystem system;
    system.registry[{kMsinfo, "PATH"}] = R"(C:\Tools\msinfo32.exe)";
    system.registry[{kTools, "MSINFO"}] = R"(C:\Shared\MSInfo)";
    system.files.insert(R"(C:\Shared\MSInfo\MSINFO32.EXE)");
    system.path["hardinfo"] = "/usr/bin/hardinfo";
    startSysInfo(system);
    QCOMPARE(system.started, QStringList{R"(C:\Tools\msinfo32.exe)"});
    QCOMPARE(system.lookups, QStringList{kMsinfo + " PATH"});  // no file check for this path
    QVERIFY(system.messages.isEmpty());
}

void AboutWindowTest::sharedToolsFolderNeedsTheProgramFile() {
    FakeSystem system;
    system.registry[{kTools, "MSINFO"}] = R"(C:\Shared\MSInfo)";
    system.files.insert(R"(C:\Shared\MSInfo\MSINFO32.EXE)");
    startSysInfo(system);
    QCOMPARE(system.lookups, QStringList({kMsinfo + " PATH", kTools + " MSINFO",
                                          R"(file C:\Shared\MSInfo\MSINFO32.EXE)"}));
    QCOMPARE(system.started, QStringList{R"(C:\Shared\MSInfo\MSINFO32.EXE)"});

    system.files.clear();
    system.started.clear();
    startSysInfo(system);
    QVERIFY(system.started.isEmpty());
    QCOMPARE(system.messages, QStringList{"此时系统信息不可用"});
}

void AboutWindowTest::wellKnownProgramOnThePath() {
    FakeSystem system;
    system.path["gnome-system-monitor"] = "/usr/bin/gnome-system-monitor";
    system.path["hardinfo"] = "/usr/local/bin/hardinfo";
    QCOMPARE(QString::fromStdString(findSysInfo(system)), "/usr/local/bin/hardinfo");
    startSysInfo(system);
    QCOMPARE(system.started, QStringList{"/usr/local/bin/hardinfo"});
}

void AboutWindowTest::nothingFoundOrStartFailedGivesTheMessage() {
    FakeSystem nothing;
    QVERIFY(findSysInfo(nothing).empty());
    startSysInfo(nothing);
    QCOMPARE(nothing.messages, QStringList{"此时系统信息不可用"});

    FakeSystem failing;
    failing.registry[{kMsinfo, "PATH"}] = R"(C:\gone\msinfo32.exe)";
    failing.startFails = true;
    startSysInfo(failing);
    QCOMPARE(failing.started.size(), 1);
    QCOMPARE(failing.messages, QStringList{"此时系统信息不可用"});

    FakeSystem broken;
    broken.lookupThrows = true;
    startSysInfo(broken);
    QCOMPARE(broken.messages, QStringList{"此时系统信息不可用"});
}

void AboutWindowTest::stringValuesKeepTheirLastCharacter() {
    const std::u16string stored = u"C:\\msinfo32.exe";
    std::u16string terminated = stored + u'\0';
    QVERIFY(registryValueText(kRegSz, bytesOf(terminated), terminated.size() * 2) == stored);
    QVERIFY(registryValueText(kRegSz, bytesOf(stored), stored.size() * 2) == stored);
    QVERIFY(registryValueText(kRegSz, bytesOf(stored), 0) == std::u16string());
    QVERIFY(registryValueText(kRegSz, bytesOf(stored), 5) == u"C:");  // a torn last unit is dropped
    QVERIFY(!registryValueText(7, bytesOf(stored), stored.size() * 2));  // a multi-string
}

void AboutWindowTest::readsNeverPassTheBuffer() {
    const std::u16string buffer = u"ABCD";
    QVERIFY(registryValueText(kRegSz, bytesOf(buffer), 4096) == u"ABCD");
    QVERIFY(registryValueText(kRegDword, bytesOf(buffer).first(2), 4) == u"65");
}

void AboutWindowTest::numbersBecomeDecimalText() {
    const std::array<std::byte, 4> value = {std::byte{0x2a}, std::byte{0x01}, std::byte{0},
                                            std::byte{0x80}};
    QVERIFY(registryValueText(kRegDword, value, 4) == u"2147483946");
}

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"
