#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// The whole file as bytes; nullopt when it cannot be opened or read to its end (a folder, a
// missing file, no permission).
std::optional<QByteArray> readWholeFile(const QString& file);

} // namespace platform
