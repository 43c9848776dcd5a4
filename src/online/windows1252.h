#pragma once

#include <QByteArrayView>
#include <QString>

// The game's and the list server's text is Windows-1252, one character per byte.
QString fromWindows1252(QByteArrayView bytes);

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
