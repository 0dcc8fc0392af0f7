#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane::input {

// GB18030 text as UTF-8, by the system's own converter: glibc's iconv, or on
// Windows its code page 54936, or GBK's 936 where a system lacks that
// (gb18030_iconv.cpp, gb18030_windows.cpp; CMake builds one of them).
class Gb18030Decoder {
public:
    Gb18030Decoder();
    ~Gb18030Decoder();
    Gb18030Decoder(const Gb18030Decoder&) = delete;
    Gb18030Decoder& operator=(const Gb18030Decoder&) = delete;

    // Nothing when the bytes are not GB18030 text, or end inside a character.
    std::optional<std::string> toUtf8(std::string_view bytes);

private:
    void* converter_;  // the system's conversion state, where it keeps one
};

}  // namespace corvane::input
