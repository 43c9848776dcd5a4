#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace platform::wine_reg {

// Text as the registry keeps it, UTF-16LE, and back; an odd last byte is left out.
QByteArray utf16Bytes(QStringView text);
QString utf16Text(QByteArrayView bytes);

// Text escaped as Wine writes names and strings into its registry files: a backslash before "\"
// and before the two `quotes`, control characters as "\n" or octal, characters above 0x7F as
// "\x" and lower-case hex (four digits when a hex digit follows). A NUL in last place is the
// string's terminator and is left out.
QByteArray escape(const QString& units, char quote1, char quote2);

// The line (without its line end) that Wine writes for a value: `stored` are the bytes as the
// registry keeps them, text types as UTF-16LE with their terminating NUL.
QByteArray valueLine(const QString& name, quint32 type, const QByteArray& stored);

// One of Wine's registry files (user.reg, userdef.reg), edited so that every byte not belonging
// to the value written stays as it was. Lines may end in LF or CR LF, as Wine reads both; each
// keeps its own, and added lines take the file's (its first line's).
class File {
public:
    explicit File(const QByteArray& text);

    // The file starts with Wine's signature line; anything else holds no keys.
    bool isRegistry() const;

    // The key has a section of its own, or one below it (Wine leaves out keys that hold only
    // subkeys). Names match without regard to letter case.
    bool hasKey(const QStringList& path) const;

    // Writes the value in place of the key's value of that name (whose spelling is kept), or
    // appends it to the key's section, adding that section when the key has none; the section's
    // time becomes `msecsSince1970`. False (and no change) when the key does not exist. Any
    // number of values may be set before text() is taken.
    bool setValue(const QStringList& path, const QString& name, quint32 type,
                  const QByteArray& stored, qint64 msecsSince1970);

    QByteArray text() const;

private:
    enum class End : quint8 { None, Lf, CrLf };
    struct Line {
        QByteArray content; // without its line end
        End end = End::Lf;
    };
    struct Section {
        int header = 0; // line index of "[...]"
        int end = 0;    // one past its last line
        bool valid = false;
        // Printable ASCII whose only escapes are the "\\" between names (as Wine writes nearly
        // every key), so that it can be matched without being decoded.
        bool plain = false;
        qsizetype open = 0;         // in the header line, just past "["
        qsizetype afterBracket = 0; // just past "]"
    };
    // A key looked for: its names, and those joined as a plain header would hold them (empty
    // when a name is not plain).
    struct Key {
        QStringList path;
        QByteArray plain;
    };
    struct Value {
        int first = 0;
        int count = 1; // lines, continuations included
        QString name;
    };

    void parse();
    static Key key(const QStringList& path);
    // The section is the key's own (`exact`), or the key's or one below it.
    bool holds(const Section& section, const Key& key, bool exact) const;
    // Moves the sections after `at` by `delta` lines, lines having been inserted there or removed
    // from there on.
    void shift(int at, int delta);
    QList<Value> values(const Section& section) const;
    void stamp(const Section& section, qint64 msecsSince1970);
    Line newLine(QByteArray content) const;

    QByteArray m_text; // as read
    QList<Line> m_lines;
    QList<Section> m_sections;
};

} // namespace platform::wine_reg
