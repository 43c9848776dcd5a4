#pragma once

#include <QString>

// The two game builds and their settings. A build the user accepted without a valid executable is
// stored as its hint text; only a missing (empty) setting counts as unset.
namespace game_paths {

inline QString locationKey() { return QStringLiteral("Jazz2 Location"); }
inline QString tsfLocationKey() { return QStringLiteral("Jazz2 TSF Location"); }
inline QString hint() { return QStringLiteral("1.21, 1.22, or 1.23"); }
inline QString tsfHint() { return QStringLiteral("1.24"); }

} // namespace game_paths
