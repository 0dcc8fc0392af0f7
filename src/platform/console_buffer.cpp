#include "platform/console_buffer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/utf16.h"

namespace corvane::platform {

namespace {

// Pieces small enough for every console host.
constexpr std::size_t kConsolePiece = 8192;

// How many bytes of text end with a whole character: all of them, or those
// before a last character whose bytes are not all there yet.
std::size_t wholeCharactersLength(std::string_view text) {
    const std::size_t lookBack = std::min<std::size_t>(text.size(), 4);
    for (std::size_t back = 1; back <= lookBack; ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? text.size() - back : text.size();
    }
    return text.size();
}

}  // namespace

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

bool writeConsole(HANDLE console, std::string_view utf8) {
    const std::wstring wide = wideText(utf8);
    std::wstring_view rest = wide;
    while (!rest.empty()) {
        const auto piece = static_cast<DWORD>(std::min(rest.size(), kConsolePiece));
        DWORD written = 0;
        if (!WriteConsoleW(console, rest.data(), piece, &written, nullptr) || written == 0) {
            return false;
        }
        rest.remove_prefix(written);
    }
    return true;
}

ConsoleBuffer::ConsoleBuffer(HANDLE console) : console_(console) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

ConsoleBuffer::int_type ConsoleBuffer::overflow(int_type next) {
    if (!writeWholeCharacters()) return traits_type::eof();
    if (traits_type::eq_int_type(next, traits_type::eof())) return traits_type::not_eof(next);
    *pptr() = traits_type::to_char_type(next);
    pbump(1);
    return next;
}

int ConsoleBuffer::sync() {
    return writeWholeCharacters() ? 0 : -1;
}

// Writes what the buffer holds up to its last whole character and keeps the
// bytes after it at the buffer's start.
bool ConsoleBuffer::writeWholeCharacters() {
    const std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    const std::size_t whole = wholeCharactersLength(pending);
    const bool written = writeConsole(console_, pending.substr(0, whole));
    const std::size_t kept = pending.size() - whole;
    std::memmove(buffer_.data(), pending.data() + whole, kept);
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    pbump(static_cast<int>(kept));
    return written;
}

}  // namespace corvane::platform
