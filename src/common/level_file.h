#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The game's level files (.j2l): where they are looked for and the title they carry.
namespace level_file {

// The text of `path` up to and including its last separator ("\" or "/"); empty when it has none.
QString folderOf(const QString& path);
// The text of `path` after its last separator: the file's name without its folder.
QString nameOf(const QString& path);

// The file's bytes; nullopt at once when it cannot be read (missing, no access, or not a regular
// file: a folder, a FIFO, a device).
std::optional<QByteArray> read(const QString& file);

// The title of a level, one byte per character: the bytes between the first NUL that lies at or
// after the byte following the marker "LEVL" and the next NUL, with every "|" removed. Without
// the marker the search starts at the fifth byte. A text that holds no NUL there is searched from
// its start, and the title is what precedes its first NUL (empty when it holds none). nullopt
// when a first NUL is found but no second one follows it.
std::optional<QByteArray> title(const QByteArray& text);

} // namespace level_file
