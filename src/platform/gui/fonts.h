#pragma once

#include <QFont>

namespace platform {

// Registers the free Tahoma clone that Wine ships (fonts-wine), once per process.
// Returns false when it is not installed; windows then fall back to the default sans font.
bool loadTahoma();

// Tahoma at the given size, or the default sans font at that size when Tahoma is missing.
QFont tahoma(qreal pointSize, bool bold = false);

} // namespace platform
