#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// The whole file as bytes; nullopt at once for anything but a regular file (a folder, a FIFO, a
// device), and when it cannot be opened or read to its end (missing, no permission).
std::optional<QByteArray> readWholeFile(const QString& file);

} // namespace platform
