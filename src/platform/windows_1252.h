#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// The Western single-byte code page ("ANSI" on a Western Windows), in which the game keeps its
// names: the section sign is 0xA7, the euro sign 0x80.

// Every byte maps to one character; the five bytes the code page leaves free map to the control
// characters of the same number, as Windows maps them.
QString fromWindows1252(const QByteArray& bytes);

// One byte per UTF-16 unit; a character the code page lacks becomes '?'.
QByteArray toWindows1252(const QString& text);

} // namespace platform
