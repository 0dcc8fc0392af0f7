#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <memory>

#include "app/platform.h"

namespace corvane::app {

namespace {

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string converted(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, converted.data(), size, nullptr, nullptr);
    converted.pop_back();  // the terminating NUL
    return converted;
}

struct FreeLocal {
    void operator()(wchar_t** arguments) const { LocalFree(arguments); }
};

// A handle that the starting process gave us: a file, a pipe or a console.
bool inherited(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    int count = 0;
    const std::unique_ptr<wchar_t*, FreeLocal> arguments(
        CommandLineToArgvW(GetCommandLineW(), &count));
    if (!arguments) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> converted;
    for (int i = 0; i < count; ++i) converted.push_back(utf8(arguments.get()[i]));
    return converted;
}

void useStartingConsole() {
    const bool input = inherited(STD_INPUT_HANDLE);
    const bool output = inherited(STD_OUTPUT_HANDLE);
    const bool error = inherited(STD_ERROR_HANDLE);
    if ((input && output && error) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    // freopen_s keeps the C streams and the C++ ones on top of them usable.
    FILE* stream = nullptr;
    if (!input) freopen_s(&stream, "CONIN$", "r", stdin);
    if (!output) freopen_s(&stream, "CONOUT$", "w", stdout);
    if (!error) freopen_s(&stream, "CONOUT$", "w", stderr);
    SetConsoleOutputCP(CP_UTF8);
}

void useBinaryStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool standardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

}  // namespace corvane::app
