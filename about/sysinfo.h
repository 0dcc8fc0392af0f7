#pragma once

#include <QString>
#include <memory>
#include <optional>

class QWidget;

namespace corvane {

inline constexpr const char* kSysInfoUnavailable = "此时系统信息不可用";

// What finding and starting the system-information tool asks of the system.
// The desktop supplies the real one; tests supply their own.
class SystemInfoHost {
public:
    virtual ~SystemInfoHost() = default;

    // A value under HKEY_LOCAL_MACHINE, or nothing where it cannot be read
    // (always nothing on systems without a registry).
    virtual std::optional<QString> machineValue(const QString& keyName,
                                                const QString& valueName) = 0;
    virtual bool fileExists(const QString& path) = 0;
    // The full path of a program found on the PATH, or empty.
    virtual QString findProgram(const QString& name) = 0;
    // Starts the program in its own window without waiting for it.
    virtual bool start(const QString& program) = 0;
    virtual void showMessage(const QString& text) = 0;
};

// Where the system-information tool is: the registry's MSINFO path first,
// then MSINFO32.EXE in the shared tools folder, then a well-known system
// information program on the PATH. Empty when there is none.
QString findSysInfo(SystemInfoHost& host);

// Starts the tool, or tells the user that it is not available.
void startSysInfo(SystemInfoHost& host);

// The host of this desktop; its messages are modal boxes over the parent.
std::unique_ptr<SystemInfoHost> desktopSystemInfoHost(QWidget* messageParent);

}  // namespace corvane
