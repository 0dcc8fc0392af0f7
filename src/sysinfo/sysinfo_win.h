#pragma once

#ifdef _WIN32

#include "sysinfo/registry_win.h"
#include "sysinfo/sysinfo_lookup.h"

namespace corvane {

// What finding and starting the system-information tool asks of Windows: the
// registry under HKEY_LOCAL_MACHINE, the file system and CreateProcessW. No
// program is looked for on the PATH. The message is left to the program that
// shows it, in its own windows.
class WindowsSystemInfoHost : public SystemInfoHost {
public:
    std::optional<std::string> machineValue(const std::string& keyName,
                                            const std::string& valueName) override;
    bool fileExists(const std::string& path) override;
    std::string findProgram(const std::string& name) override;
    bool start(const std::string& program) override;
};

}  // namespace corvane

#endif
