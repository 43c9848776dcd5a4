#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace platform {

// The Western single-byte code page ("ANSI" on a Western Windows), in which the game keeps its
// names: the section sign is 0xA7, the euro sign 0x80.

// Every byte maps to one character; the five bytes the code page leaves free map to the control
// characters of the same number, as Windows maps them.
QString fromWindows1252(QByteArrayView bytes);

// One byte per UTF-16 unit; a character the code page lacks becomes '?'.
QByteArray toWindows1252(const QString& text);

// A byte with its letter case folded, for ordering Windows-1252 text without regard to case.
inline unsigned char foldWindows1252(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: // Š
    case 0x8C: // Œ
    case 0x8E: // Ž
        return static_cast<unsigned char>(c + 0x10);
    case 0x9F: // Ÿ
        return 0xFF;
    default:
        return c;
    }
}

} // namespace platform
