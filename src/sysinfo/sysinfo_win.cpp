#ifdef _WIN32

#include "sysinfo/sysinfo_win.h"

namespace corvane {

std::wstring wideText(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string utf8Text(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

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
