#pragma once

#include <QString>

// The hint texts of the two game builds. A build the user accepted without a valid executable is
// stored as its hint text (setting_keys::kJazz2Location, kJazz2TsfLocation); only a missing (empty)
// setting counts as unset.
namespace game_paths {

inline QString hint() { return QStringLiteral("1.21, 1.22, or 1.23"); }
inline QString tsfHint() { return QStringLiteral("1.24"); }

} // namespace game_paths
