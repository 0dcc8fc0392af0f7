#include <windows.h>

#include <climits>

#include "input/gb18030.h"

namespace corvane::input {

namespace {

// GB18030 is code page 54936. Where the system lacks it (wine 8 does), GBK,
// code page 936, reads all but GB18030's four-byte characters the same.
UINT gb18030CodePage() {
    static const UINT page = IsValidCodePage(54936) ? 54936 : 936;
    return page;
}

}  // namespace

// Windows keeps no state between conversions.
Gb18030Decoder::Gb18030Decoder() : converter_(nullptr) {}

Gb18030Decoder::~Gb18030Decoder() = default;

std::optional<std::string> Gb18030Decoder::toUtf8(std::string_view bytes) {
    if (bytes.empty()) return std::string();
    if (bytes.size() > INT_MAX / 2) return std::nullopt;
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(bytes.size(), L'\0');
    const int units = MultiByteToWideChar(gb18030CodePage(), MB_ERR_INVALID_CHARS, bytes.data(),
                                          size, wide.data(), static_cast<int>(wide.size()));
    if (units <= 0) return std::nullopt;
    std::string text(static_cast<std::size_t>(units) * 3, '\0');
    const int written = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, text.data(),
                                            static_cast<int>(text.size()), nullptr, nullptr);
    if (written <= 0) return std::nullopt;
    text.resize(static_cast<std::size_t>(written));
    return text;
}

}  // namespace corvane::input
