// Stands in for msinfo32.exe under wine: leaves "<its own path>.started"
// beside itself, so a test can see that it was really started.
#include <windows.h>

#include <string>

int main() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    path.resize(length);
    path += L".started";
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(file);
    return 0;
}
