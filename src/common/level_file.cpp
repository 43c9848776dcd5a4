#include "common/level_file.h"

#include "platform/read_file.h"

#include <algorithm>

namespace level_file {

namespace {

qsizetype lastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
}

QByteArray withoutBars(QByteArray text) {
    text.removeIf([](char c) { return c == '|'; });
    return text;
}

} // namespace

QString folderOf(const QString& path) {
    return path.left(lastSeparator(path) + 1);
}

QString nameOf(const QString& path) {
    return path.mid(lastSeparator(path) + 1);
}

std::optional<QByteArray> read(const QString& file) { return platform::readWholeFile(file); }

std::optional<QByteArray> title(const QByteArray& text) {
    // Positions below are 0-based; the marker's own search counts "not found" as position 0
    // (1-based), so the first NUL is then looked for from the fifth byte on.
    const qsizetype marker = text.indexOf("LEVL");
    const qsizetype from = marker < 0 ? 4 : marker + 5;
    const qsizetype first = text.indexOf('\0', from);
    if (first < 0) {
        const qsizetype nul = text.indexOf('\0');
        return nul < 0 ? QByteArray() : withoutBars(text.left(nul));
    }
    const qsizetype second = text.indexOf('\0', first + 1);
    if (second < 0)
        return std::nullopt;
    return withoutBars(text.mid(first + 1, second - first - 1));
}

} // namespace level_file
