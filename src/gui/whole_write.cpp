#include "gui/whole_write.h"

#include <QFileDevice>

namespace corvane {

std::optional<QString> writeWhole(QFileDevice& file, const QByteArray& bytes) {
    // A write cut short carries no reason; the next one fails with it.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 wrote = file.write(bytes.constData() + done, bytes.size() - done);
        if (wrote <= 0) return file.errorString();
        done += wrote;
    }
    if (!file.flush()) return file.errorString();
    return std::nullopt;
}

}  // namespace corvane
