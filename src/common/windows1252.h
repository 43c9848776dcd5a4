#pragma once

#include <QByteArray>
#include <QString>

// The game's single-byte text (Windows-1252) as the launcher shows it.
namespace windows1252 {

// One character per byte; the five bytes the code page leaves unassigned keep their own value.
QString toText(const QByteArray& bytes);

} // namespace windows1252
