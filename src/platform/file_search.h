#pragma once

#include <QString>

namespace platform {

// A first-match search: true when the path names an existing file or folder, or when its last
// component holds the wildcards '*' or '?' and at least one entry of its folder matches them.
// Wildcards match as on Windows: without regard to letter case, and a final ".*" also matches a
// name without a dot; other characters (brackets included) are literal. An exact name is looked
// up with its letter case, as the program start that follows does. The empty text and a path
// ending in a separator match nothing.
bool firstMatchExists(const QString& path);

} // namespace platform
