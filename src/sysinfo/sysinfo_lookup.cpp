#include "sysinfo/sysinfo_lookup.h"

#include <array>

namespace corvane {

namespace {

// Desktop programs that show the machine's hardware and system, best first.
// Windows hosts find none of them; there the registry alone decides.
constexpr std::array<const char*, 5> kSystemInfoPrograms = {
    "hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor", "mate-system-monitor",
};

std::optional<std::string> registeredTool(SystemInfoHost& host) {
    if (auto path = host.machineValue(kMsinfoKey, kMsinfoPathValue)) return path;
    if (auto dir = host.machineValue(kSharedToolsKey, kSharedToolsMsinfoValue)) {
        std::string path = *dir + kMsinfoProgramFile;
        if (host.fileExists(path)) return path;
    }
    return std::nullopt;
}

}  // namespace

std::string findSysInfo(SystemInfoHost& host) {
    if (auto registered = registeredTool(host)) return *registered;
    for (const char* name : kSystemInfoPrograms) {
        std::string path = host.findProgram(name);
        if (!path.empty()) return path;
    }
    return {};
}

void startSysInfo(SystemInfoHost& host) {
    bool started = false;
    try {
        const std::string path = findSysInfo(host);
        started = !path.empty() && host.start(path);
    } catch (...) {
        started = false;
    }
    if (!started) host.showMessage(kSysInfoUnavailable);
}

}  // namespace corvane
