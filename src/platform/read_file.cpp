#include "platform/read_file.h"

#include <QFile>

namespace platform {

std::optional<QByteArray> readWholeFile(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace platform
