#include "about/sysinfo.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <array>

#ifdef _WIN32
#include "about/registry_win.h"
#endif

namespace corvane {

namespace {

// Desktop programs that show the machine's hardware and system, best first.
constexpr std::array<const char*, 5> kSystemInfoPrograms = {
    "hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor", "mate-system-monitor",
};

std::optional<QString> registeredTool(SystemInfoHost& host) {
    if (auto path = host.machineValue(R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)", "PATH")) {
        return path;
    }
    if (auto dir = host.machineValue(R"(SOFTWARE\Microsoft\Shared Tools Location)", "MSINFO")) {
        const QString path = *dir + R"(\MSINFO32.EXE)";
        if (host.fileExists(path)) return path;
    }
    return std::nullopt;
}

class DesktopHost : public SystemInfoHost {
public:
    explicit DesktopHost(QWidget* messageParent) : messageParent_(messageParent) {}

    std::optional<QString> machineValue(const QString& keyName, const QString& valueName) override {
#ifdef _WIN32
        std::wstring value;
        if (getKeyValue(HKEY_LOCAL_MACHINE, keyName.toStdWString(), valueName.toStdWString(),
                        value)) {
            return QString::fromStdWString(value);
        }
#else
        (void)keyName;
        (void)valueName;
#endif
        return std::nullopt;
    }

    bool fileExists(const QString& path) override {
        return QFileInfo(path).isFile();
    }

    QString findProgram(const QString& name) override {
        return QStandardPaths::findExecutable(name);
    }

    bool start(const QString& program) override {
        return QProcess::startDetached(program, {});
    }

    void showMessage(const QString& text) override {
        QMessageBox box(QMessageBox::Information, "Corvane1.0", text, QMessageBox::Ok,
                        messageParent_);
        box.button(QMessageBox::Ok)->setText("确定");
        box.exec();
    }

private:
    QPointer<QWidget> messageParent_;
};

}  // namespace

QString findSysInfo(SystemInfoHost& host) {
    if (auto registered = registeredTool(host)) return *registered;
    for (const char* name : kSystemInfoPrograms) {
        const QString path = host.findProgram(QString::fromLatin1(name));
        if (!path.isEmpty()) return path;
    }
    return {};
}

void startSysInfo(SystemInfoHost& host) {
    const QString path = findSysInfo(host);
    if (path.isEmpty() || !host.start(path))
        host.showMessage(QString::fromUtf8(kSysInfoUnavailable));
}

std::unique_ptr<SystemInfoHost> desktopSystemInfoHost(QWidget* messageParent) {
    return std::make_unique<DesktopHost>(messageParent);
}

}  // namespace corvane
