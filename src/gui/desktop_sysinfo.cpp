#include "gui/desktop_sysinfo.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QString>

#ifdef _WIN32
#include "sysinfo/sysinfo_win.h"
#else
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#endif

namespace corvane {

namespace {

#ifdef _WIN32
// The registry, the file check and the start of Windows itself.
using SystemHost = WindowsSystemInfoHost;
#else
// No registry; the tool is looked for on the PATH.
class SystemHost : public SystemInfoHost {
public:
    std::optional<std::string> machineValue(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    bool fileExists(const std::string& path) override {
        return QFileInfo(QString::fromStdString(path)).isFile();
    }
    std::string findProgram(const std::string& name) override {
        return QStandardPaths::findExecutable(QString::fromStdString(name)).toStdString();
    }
    bool start(const std::string& program) override {
        return QProcess::startDetached(QString::fromStdString(program), {});
    }
};
#endif

// The message comes as a Qt box, so it looks like the rest of the program. It
// is window-modal over its parent and returns at once, so the button's click
// ends before the box is answered; the box goes when it is closed.
class DesktopHost : public SystemHost {
public:
    explicit DesktopHost(QWidget* messageParent) : messageParent_(messageParent) {}

    void showMessage(const std::string& text) override {
        auto* box = new QMessageBox(QMessageBox::Information, "Corvane1.0",
                                    QString::fromStdString(text), QMessageBox::Ok, messageParent_);
        box->setObjectName("sysInfoMessage");
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->button(QMessageBox::Ok)->setText("确定");
        box->open();
    }

private:
    QPointer<QWidget> messageParent_;
};

}  // namespace

std::unique_ptr<SystemInfoHost> desktopSystemInfoHost(QWidget* messageParent) {
    return std::make_unique<DesktopHost>(messageParent);
}

}  // namespace corvane
