#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QFileDevice;

namespace corvane {

// Writes every byte to the open file and flushes them. Returns why that
// failed, or nothing: after part of the bytes went (a disk that fills up, a
// file size limit) the system's reason, where Qt alone says "Unknown error".
std::optional<QString> writeWhole(QFileDevice& file, const QByteArray& bytes);

}  // namespace corvane
