#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "input/gb18030.h"
#include "language/translation.h"

namespace corvane::input {

namespace {

iconv_t converterOf(void* converter) {
    return static_cast<iconv_t>(converter);
}

}  // namespace

Gb18030Decoder::Gb18030Decoder() : converter_(iconv_open("UTF-8", "GB18030")) {
    if (converter_ == reinterpret_cast<void*>(iconv_t(-1))) {
        throw std::runtime_error(tr("the system's iconv cannot read GB18030"));
    }
}

Gb18030Decoder::~Gb18030Decoder() {
    iconv_close(converterOf(converter_));
}

std::optional<std::string> Gb18030Decoder::toUtf8(std::string_view bytes) {
    // A GB18030 character of up to four bytes is at most four bytes of UTF-8.
    std::string text(bytes.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* out = text.data();
    std::size_t outLeft = text.size();
    if (iconv(converterOf(converter_), &in, &inLeft, &out, &outLeft) == std::size_t(-1)) {
        return std::nullopt;
    }
    text.resize(text.size() - outLeft);
    return text;
}

}  // namespace corvane::input
