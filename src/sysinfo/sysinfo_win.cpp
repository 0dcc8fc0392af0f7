#ifdef _WIN32

#include "sysinfo/sysinfo_win.h"

#include "platform/utf16.h"

namespace corvane {

using platform::utf8Text;
using platform::wideText;

std::optional<std::string> WindowsSystemInfoHost::machineValue(const std::string& keyName,
                                                               const std::string& valueName) {
    const auto value = getKeyValue(HKEY_LOCAL_MACHINE, wideText(keyName), wideText(valueName));
    if (!value) return std::nullopt;
    return utf8Text(*value);
}

bool WindowsSystemInfoHost::fileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(wideText(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WindowsSystemInfoHost::findProgram(const std::string&) {
    return {};
}

// Like a double click on the program: its own process in a normal window that
// takes the focus; the handles are let go at once, nothing waits for it.
bool WindowsSystemInfoHost::start(const std::string& program) {
    const std::wstring application = wideText(program);
    std::wstring commandLine = L"\"" + application + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace corvane

#endif
