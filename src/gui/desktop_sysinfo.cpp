#include "gui/desktop_sysinfo.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QString>

#include "gui/widgets.h"
#include "report/utf8.h"

#ifdef _WIN32
#include "sysinfo/sysinfo_win.h"
#else
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#endif

namespace corvane {

using namespace Qt::StringLiterals;

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
        return QFileInfo(toQString(path)).isFile();
    }
    std::string findProgram(const std::string& name) override {
        return QStandardPaths::findExecutable(toQString(name)).toStdString();
    }
    bool start(const std::string& program) override {
        return QProcess::startDetached(toQString(program), {});
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
        auto* box = new QMessageBox(QMessageBox::Information, programTitle(), toQString(text),
                                    QMessageBox::Ok, messageParent_);
        box->setObjectName("sysInfoMessage");
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->button(QMessageBox::Ok)->setText(u"确定"_s);
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
