// Feeds arbitrary bytes to the Wine registry file editor as user.reg, sets a value in it, and
// checks what the profile writer relies on: a file that is no registry, or lacks the key, stays
// byte for byte; otherwise the value is there, every other line survives in its order, writing
// the same value again changes only the key's time (its "#time" line and the seconds in its
// header), and a new value replaces exactly the old value's lines.
#include "platform/wine_registry_file.h"
#include "require.h"

#include <QByteArrayList>

#include <cstddef>
#include <cstdint>

using namespace platform::wine_reg;

namespace {

constexpr qint64 kFirstWrite = 1700000000000LL;
constexpr qint64 kSecondWrite = kFirstWrite + 86400000LL;

// Wine's stored form: text types as UTF-16LE with their NUL, other types as they are.
QByteArray stored(quint32 type, const QByteArray& bytes) {
    if (type != 1)
        return bytes;
    QByteArray utf16;
    for (const char c : bytes + '\0')
        utf16 += QByteArray(1, c) + '\0';
    return utf16;
}

QByteArray withoutCr(QByteArray text) {
    text.removeIf([](char c) { return c == '\r'; });
    return text;
}

bool isTimeLine(const QByteArray& line) {
    return line.trimmed().startsWith("#time=");
}

// A key's header without what follows its closing "]": the key's time in seconds.
QByteArray withoutTime(const QByteArray& line) {
    const qsizetype open = line.indexOf('[');
    if (open < 0 || !line.first(open).trimmed().isEmpty())
        return line;
    for (qsizetype i = open + 1; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == ']')
            return line.first(i + 1);
    }
    return line;
}

QByteArrayList linesOf(const QByteArray& text) {
    QByteArrayList lines = withoutCr(text).split('\n');
    for (QByteArray& line : lines)
        line = withoutTime(line);
    return lines;
}

// Whether `old` and `kept` differ in one place only: the old value's lines taken out, or at most
// a new section's header and the blank line before the next (or a missing last line end) put in.
bool differInOnePlace(const QByteArrayList& old, const QByteArrayList& kept) {
    qsizetype same = 0;
    while (same < old.size() && same < kept.size() && old[same] == kept[same])
        ++same;
    qsizetype sameAtEnd = 0;
    while (sameAtEnd < old.size() - same && sameAtEnd < kept.size() - same &&
           old[old.size() - 1 - sameAtEnd] == kept[kept.size() - 1 - sameAtEnd])
        ++sameAtEnd;
    const qsizetype removed = old.size() - same - sameAtEnd;
    const qsizetype added = kept.size() - same - sameAtEnd;
    return (removed == 0 || added == 0) && added <= 2;
}

// Every line of `before` but its "#time" lines is in `after`, in its order, but for one run of
// lines in a row: the value that was replaced. Which lines of `after` are the value written is
// not known where other lines read the same, so each place is tried.
void requireKept(const QByteArray& before, const QByteArray& after, const QByteArray& value) {
    QByteArrayList old = linesOf(before);
    old.removeIf(isTimeLine);
    const QByteArrayList lines = linesOf(after);
    const QByteArrayList valueLines = value.toLower().split('\n');
    bool found = false;
    for (qsizetype i = 0; i + valueLines.size() <= lines.size() && !found; ++i) {
        qsizetype j = 0;
        while (j < valueLines.size() && lines[i + j].toLower() == valueLines[j])
            ++j;
        if (j < valueLines.size())
            continue;
        QByteArrayList kept = lines;
        kept.remove(i, j);
        kept.removeIf(isTimeLine);
        found = differInOnePlace(old, kept);
    }
    require(found);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // The first byte chooses the key, the value's name and type; the second how many of the
    // file's last bytes are the value.
    const quint8 choice = data[0];
    const QStringList path = choice & 1
                                 ? QStringList{QStringLiteral("Software"), QStringLiteral("Review")}
                                 : QStringList{QStringLiteral("Software"), QStringLiteral("Review"),
                                               QStringLiteral("Sub")};
    const QString name = (choice & 2) ? QStringLiteral("Blob") : QString();
    const quint32 type = (choice & 4) ? 1 : 3;
    const QByteArray text(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    const QByteArray bytes = stored(type, text.right(qMin(qsizetype(data[1]), text.size())));

    File first(text);
    const bool written = first.setValue(path, name, type, bytes, kFirstWrite);
    const QByteArray once = first.text();
    require(written == (first.isRegistry() && File(text).hasKey(path)));
    if (!written) {
        require(once == text);
        return 0;
    }
    // An existing value keeps the spelling of its name, whose letter case may differ.
    const QByteArray line = valueLine(name, type, bytes).toLower();
    require(withoutCr(once).toLower().contains(line));
    requireKept(text, once, line);

    // The same value again: only the key's time changes, in its "#time" line and its header.
    File second(once);
    require(second.setValue(path, name, type, bytes, kSecondWrite));
    const QByteArray twice = second.text();
    const QByteArrayList a = once.split('\n');
    const QByteArrayList b = twice.split('\n');
    require(a.size() == b.size());
    int times = 0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        if (isTimeLine(a[i]) && isTimeLine(b[i]))
            ++times;
        else
            require(withoutTime(a[i]) == withoutTime(b[i]));
    }
    require(times <= 1); // a key without a "#time" line of its own keeps none

    // Another value: its lines take the place of the old one's, and nothing else moves.
    File third(twice);
    const QByteArray other = stored(type, text.left(7));
    require(third.setValue(path, name, type, other, kSecondWrite));
    const QByteArray replaced = withoutCr(third.text()).toLower();
    const QByteArray before = withoutCr(twice).toLower();
    const QByteArray otherLine = valueLine(name, type, other).toLower();
    bool matches = false;
    for (qsizetype at = before.indexOf(line); at >= 0 && !matches;
         at = before.indexOf(line, at + 1))
        matches = QByteArray(before).replace(at, line.size(), otherLine) == replaced;
    require(matches);
    return 0;
}
