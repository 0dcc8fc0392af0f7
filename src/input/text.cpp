#include "input/text.h"

#include <array>

#include "input/gb18030.h"

namespace corvane::input {

namespace {

constexpr std::array<std::string_view, 8> kBlanks = {" ",  "\t", "\n",     "\v",
                                                     "\f", "\r", "\u00A0", "\u3000"};

// The blank the text starts (or ends) with, or an empty view.
std::string_view blankAt(std::string_view text, bool atEnd) {
    for (const std::string_view blank : kBlanks) {
        if (atEnd ? text.ends_with(blank) : text.starts_with(blank)) return blank;
    }
    return {};
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the UTF-8 character at the start of bytes, or 0 when none
// starts there. The second byte's bounds refuse overlong forms, surrogates
// and code points beyond U+10FFFF.
std::size_t characterLength(std::string_view bytes) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() < length || at(1) < low || at(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(at(i))) return 0;
    }
    return length;
}

}  // namespace

std::string_view encodingName(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? "UTF-8" : "GB18030";
}

bool isUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t length = characterLength(bytes);
        if (length == 0) return false;
        bytes.remove_prefix(length);
    }
    return true;
}

std::string_view trimBlanks(std::string_view text) {
    while (const std::size_t blank = blankAt(text, false).size()) text.remove_prefix(blank);
    while (const std::size_t blank = blankAt(text, true).size()) text.remove_suffix(blank);
    return text;
}

TextDecoder::TextDecoder(TextEncoding encoding) : encoding_(encoding) {}

TextDecoder::~TextDecoder() = default;

std::optional<std::string> TextDecoder::toUtf8(std::string_view bytes) {
    if (encoding_ == TextEncoding::Utf8) {
        if (!isUtf8(bytes)) return std::nullopt;
        return std::string(bytes);
    }
    if (!gb18030_) gb18030_ = std::make_unique<Gb18030Decoder>();
    return gb18030_->toUtf8(bytes);
}

}  // namespace corvane::input
