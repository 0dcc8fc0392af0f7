#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Text as people bring it: in UTF-8, or in GB18030 (which takes in GBK and
// GB2312), as spreadsheets on Chinese Windows save it.
namespace corvane::input {

enum class TextEncoding { Utf8, Gb18030 };

// "UTF-8", "GB18030".
std::string_view encodingName(TextEncoding encoding);

// Whether the bytes are UTF-8: shortest forms only, no surrogates, nothing
// beyond U+10FFFF.
bool isUtf8(std::string_view bytes);

// The text without the blanks at either end: spaces, tabs, line ends, the
// no-break space and the ideographic space of Chinese input methods.
std::string_view trimBlanks(std::string_view text);

class Gb18030Decoder;

// Turns text of one encoding into UTF-8, a piece at a time.
class TextDecoder {
public:
    explicit TextDecoder(TextEncoding encoding);
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    TextEncoding encoding() const { return encoding_; }

    // The bytes as UTF-8, or nothing when they are not text in the encoding.
    std::optional<std::string> toUtf8(std::string_view bytes);

private:
    TextEncoding encoding_;
    std::unique_ptr<Gb18030Decoder> gb18030_;  // made when first needed
};

}  // namespace corvane::input
