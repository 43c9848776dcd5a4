#pragma once

#include <QByteArray>

namespace platform {

// Writes all of `bytes` to `fd`, going on after short writes and interruptions. 0 when all were
// written, else the errno of the failure (EIO for a write that wrote nothing).
int writeAll(int fd, const QByteArray& bytes);

} // namespace platform
