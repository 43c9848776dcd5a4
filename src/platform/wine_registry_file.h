#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace platform::wine_reg {

// Text escaped as Wine writes names and strings into its registry files: a backslash before "\"
// and before the two `quotes`, control characters as "\n" or octal, characters above 0x7F as
// "\x" and lower-case hex (four digits when a hex digit follows). A NUL in last place is the
// string's terminator and is left out.
QByteArray escape(const QString& units, char quote1, char quote2);

// The line (without its line end) that Wine writes for a value: `stored` are the bytes as the
// registry keeps them, text types as UTF-16LE with their terminating NUL.
QByteArray valueLine(const QString& name, quint32 type, const QByteArray& stored);

// One of Wine's registry files (user.reg, userdef.reg), edited so that every byte not belonging
// to the value written stays as it was.
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
    // time becomes `msecsSince1970`. False (and no change) when the key does not exist.
    bool setValue(const QStringList& path, const QString& name, quint32 type,
                  const QByteArray& stored, qint64 msecsSince1970);

    QByteArray text() const;

private:
    struct Line {
        QByteArray content; // without its "\n"
        bool newline = true;
    };
    struct Section {
        int header = 0; // line index of "[...]"
        int end = 0;    // one past its last line
        bool valid = false;
        QStringList path;
        QByteArray rawPath;          // the escaped names between the brackets
        QList<qsizetype> separators; // where in rawPath each separator between names starts
        qsizetype afterBracket = 0;  // in the header line, just past "]"
    };
    struct Value {
        int first = 0;
        int count = 1; // lines, continuations included
        QString name;
    };

    void parse();
    QList<Value> values(const Section& section) const;
    void stamp(const Section& section, qint64 msecsSince1970);

    QList<Line> m_lines;
    QList<Section> m_sections;
};

} // namespace platform::wine_reg
