#pragma once

#include <QString>
#include <string_view>

namespace corvane {

// The program's own texts, the engine's and the system's (CUPS, errno) are
// UTF-8; Qt shows them as QString.
inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace corvane
