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

// `folder + name` as Windows (and the game under Wine) finds it: that path when it exists;
// otherwise the file of `folder` whose name equals `name` when the ASCII letters A-Z are compared
// without case (no other byte folds), the first such name in byte order; otherwise `folder + name`
// unchanged. `folder` is empty (the current folder) or ends in a separator. The folder is read
// only when the exact name is missing.
QString pathIgnoringAsciiCase(const QString& folder, const QString& name);

} // namespace platform
