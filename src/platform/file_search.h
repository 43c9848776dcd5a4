#pragma once

#include <QString>

namespace platform {

// A first-match search: true when the path names an existing file or folder, or when its last
// component holds the wildcards '*' or '?' and at least one entry of its folder matches them.
// Other characters (brackets included) are literal, as on Windows. The empty text matches
// nothing.
bool firstMatchExists(const QString& path);

} // namespace platform
