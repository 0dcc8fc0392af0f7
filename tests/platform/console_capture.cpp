// Runs a Windows program as a terminal window runs it, its output on a console
// of its own, and prints what that console then shows, as UTF-8: each row
// without its trailing blanks, a newline after every row the cursor left. The
// console is wide enough that no line of the tests wraps. The program, a GUI
// program (corvane.exe) too, gets the console as its standard output and
// standard error, and this program's standard input. (A GUI program that finds
// the console of cmd.exe itself cannot be tried under wine: wine's C runtime
// cannot reopen a stream that had no file.) Exits with the program's exit
// status, or 125 when the console could not be made or the program not
// started.
//   console_capture.exe PROGRAM.exe [ARGUMENTS...]
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "platform/utf16.h"

namespace {

constexpr SHORT kColumns = 8192;
constexpr SHORT kRows = 200;
constexpr int kNoConsole = 125;

// One argument as CreateProcessW's command line takes it apart again.
std::wstring quoted(std::wstring_view argument) {
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        text.push_back(c);
        backslashes = 0;
    }
    text.append(2 * backslashes, L'\\');
    return text + L"\"";
}

std::wstring row(HANDLE console, SHORT y) {
    std::wstring cells(static_cast<std::size_t>(kColumns), L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(console, cells.data(), kColumns, COORD{0, y}, &read);
    cells.resize(cells.find_last_not_of(L' ') + 1);
    return cells;
}

// A new console whose screen buffer is the one shown and the standard
// output and error that a console program inherits.
HANDLE newConsole() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    FreeConsole();
    if (!AllocConsole()) return INVALID_HANDLE_VALUE;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE screen =
        CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &inheritable, CONSOLE_TEXTMODE_BUFFER, nullptr);
    if (screen == INVALID_HANDLE_VALUE || !SetConsoleScreenBufferSize(screen, {kColumns, kRows}) ||
        !SetConsoleActiveScreenBuffer(screen)) {
        return INVALID_HANDLE_VALUE;
    }
    SetHandleInformation(input, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    SetStdHandle(STD_INPUT_HANDLE, input);
    SetStdHandle(STD_OUTPUT_HANDLE, screen);
    SetStdHandle(STD_ERROR_HANDLE, screen);
    return screen;
}

// This program's arguments after its own name, as one command line again.
std::wstring programCommandLine() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring commandLine;
    for (int i = 1; i < count; ++i) commandLine += (i > 1 ? L" " : L"") + quoted(arguments[i]);
    LocalFree(arguments);
    return commandLine;
}

// Runs the command line to its end; its exit status, or nothing when it could
// not start.
std::optional<DWORD> run(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return std::nullopt;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}

// The rows of the console up to its cursor, as text.
std::string shownText(HANDLE console) {
    CONSOLE_SCREEN_BUFFER_INFO shown{};
    GetConsoleScreenBufferInfo(console, &shown);
    std::string text;
    for (SHORT y = 0; y <= shown.dwCursorPosition.Y; ++y) {
        text += corvane::platform::utf8Text(row(console, y));
        if (y < shown.dwCursorPosition.Y) text += '\n';
    }
    return text;
}

}  // namespace

int main() {
    const std::wstring commandLine = programCommandLine();
    const HANDLE console = newConsole();
    if (console == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "console_capture: no console (error %lu)\n", GetLastError());
        return kNoConsole;
    }
    const std::optional<DWORD> status = run(commandLine);
    if (!status) {
        std::fprintf(stderr, "console_capture: cannot start the program (error %lu)\n",
                     GetLastError());
        return kNoConsole;
    }
    const std::string text = shownText(console);
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return static_cast<int>(*status);
}
