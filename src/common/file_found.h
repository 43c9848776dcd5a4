#pragma once

#include <QString>

// True when a file-system entry matches `path`: an existing file or folder, or a wildcard pattern
// with at least one match. The empty text and the game-path hint texts are false.
bool FileFound(const QString& path);
