#pragma once

#include <memory>
#include <optional>
#include <string>

namespace corvane {

// The message of 系统信息 when no tool can be found or started.
inline constexpr const char* kSysInfoUnavailable = "此时系统信息不可用";

// Where Windows registers its system-information tool, under HKEY_LOCAL_MACHINE.
inline constexpr const char* kMsinfoKey = R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)";
inline constexpr const char* kMsinfoPathValue = "PATH";
inline constexpr const char* kSharedToolsKey = R"(SOFTWARE\Microsoft\Shared Tools Location)";
inline constexpr const char* kSharedToolsMsinfoValue = "MSINFO";
inline constexpr const char* kMsinfoProgramFile = R"(\MSINFO32.EXE)";

// What finding and starting the system-information tool asks of the system.
// Every text is UTF-8. Windows and the desktop program supply real ones;
// tests supply their own.
class SystemInfoHost {
public:
    virtual ~SystemInfoHost() = default;

    // A value under HKEY_LOCAL_MACHINE, or nothing where it cannot be read
    // (always nothing on systems without a registry).
    virtual std::optional<std::string> machineValue(const std::string& keyName,
                                                    const std::string& valueName) = 0;
    virtual bool fileExists(const std::string& path) = 0;
    // The full path of a program found on the PATH, or empty.
    virtual std::string findProgram(const std::string& name) = 0;
    // Starts the program in a normal, focused window without waiting for it.
    virtual bool start(const std::string& program) = 0;
    virtual void showMessage(const std::string& text) = 0;
};

// Where the system-information tool is: the registry's MSINFO path first,
// then MSINFO32.EXE in the shared tools folder if that file is there, then a
// well-known system-information program on the PATH. Empty when there is none.
std::string findSysInfo(SystemInfoHost& host);

// Starts the tool, or tells the user that it is not available; anything that
// goes wrong on the way ends in that message too.
void startSysInfo(SystemInfoHost& host);

}  // namespace corvane
