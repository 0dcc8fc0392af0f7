#pragma once

#include <QString>
#include <string_view>

namespace corvane {

// The program's own texts are UTF-8; the windows show them as QString.
inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace corvane
