#include <fcntl.h>
#include <io.h>

#include "platform/console_buffer.h"
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <memory>

#include "platform/standard_streams.h"
#include "platform/utf16.h"

namespace corvane::platform {

namespace {

struct FreeLocal {
    void operator()(wchar_t** arguments) const { LocalFree(arguments); }
};

// A handle that the starting process gave us: a file, a pipe or a console.
bool inherited(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// The handle under a C stream, as it is after the starting console was taken.
HANDLE handleOf(FILE* stream) {
    const int descriptor = _fileno(stream);
    if (descriptor < 0) return INVALID_HANDLE_VALUE;
    return reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
}

// A C++ stream on a console writes through a ConsoleBuffer. The buffer is
// never freed: the stream is flushed once more when the program ends.
void showOnConsole(std::ostream& stream, FILE* underneath) {
    const HANDLE handle = handleOf(underneath);
    if (isConsole(handle)) stream.rdbuf(new ConsoleBuffer(handle));
}

}  // namespace

std::vector<std::string> Utf8Arguments::read(int argc, char** argv) {
    int count = 0;
    const std::unique_ptr<wchar_t*, FreeLocal> arguments(
        CommandLineToArgvW(GetCommandLineW(), &count));
    if (!arguments) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> converted;
    for (int i = 0; i < count; ++i) converted.push_back(utf8Text(arguments.get()[i]));
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
}

// Text mode would write every "\n" as "\r\n" and take a Ctrl-Z byte in the
// input for its end; the output is UTF-8 text and JSON Lines, the same bytes
// on every system.
void useStandardStreams() {
    for (FILE* stream : {stdin, stdout, stderr}) {
        if (_fileno(stream) >= 0) _setmode(_fileno(stream), _O_BINARY);
    }
    // Before the console buffers: it gives the C++ streams buffers of its own.
    std::ios::sync_with_stdio(false);
    showOnConsole(std::cout, stdout);
    showOnConsole(std::cerr, stderr);
}

std::size_t writeStandardOutput(std::string_view bytes) {
    const HANDLE handle = handleOf(stdout);
    if (isConsole(handle)) return writeConsole(handle, bytes) ? bytes.size() : 0;
    errno = 0;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const std::string_view rest = bytes.substr(written);
        const int n = _write(_fileno(stdout), rest.data(),
                             static_cast<unsigned>(std::min<std::size_t>(rest.size(), 1 << 30)));
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    return written;
}

bool standardErrorIsTerminal() {
    return isConsole(handleOf(stderr));
}

}  // namespace corvane::platform
