#include "platform/wine_registry_file.h"

#include <cstring>
#include <optional>

namespace platform::wine_reg {

namespace {

const QByteArray kSignature = QByteArrayLiteral("WINE REGISTRY Version 2");

// 100-ns ticks from 1601 to 1970, the offset between a FILETIME and Unix time.
constexpr qint64 kTicks1601To1970 = 116444736000000000LL;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool isHexDigit(char16_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

qsizetype skipBlanks(const QByteArray& s, qsizetype i) {
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return i;
}

QByteArray rightTrimmed(const QByteArray& s) {
    qsizetype n = s.size();
    while (n > 0 && isBlank(s[n - 1]))
        --n;
    return s.left(n);
}

struct Unescaped {
    QString text;
    qsizetype next = 0;           // just past the closing character
    QList<qsizetype> backslashes; // where each "\" of the text began in the input
};

// Reads Wine's escaped text from `from` up to the unescaped `endChar`; nullopt when the text
// ends first.
std::optional<Unescaped> unescape(const QByteArray& s, qsizetype from, char endChar) {
    Unescaped out;
    qsizetype p = from;
    while (p < s.size() && s[p] != endChar) {
        const qsizetype start = p;
        char16_t c = 0;
        if (s[p] == '\\') {
            if (++p >= s.size())
                return std::nullopt;
            const char e = s[p];
            static const char letters[] = "abefnrtv";
            static const char16_t controls[] = {0x07, 0x08, 0x1B, 0x0C, 0x0A, 0x0D, 0x09, 0x0B};
            if (const char* letter = e ? std::strchr(letters, e) : nullptr) {
                c = controls[letter - letters];
                ++p;
            } else if (e == 'x') {
                ++p;
                if (p >= s.size() || !isHexDigit(char16_t(s[p])))
                    c = 'x';
                for (int digits = 0; digits < 4 && p < s.size() && isHexDigit(char16_t(s[p]));
                     ++digits)
                    c = char16_t(c * 16 + hexValue(s[p++]));
            } else if (e >= '0' && e <= '7') {
                for (int digits = 0; digits < 3 && p < s.size() && s[p] >= '0' && s[p] <= '7';
                     ++digits)
                    c = char16_t(c * 8 + (s[p++] - '0'));
            } else {
                c = static_cast<unsigned char>(e);
                ++p;
            }
        } else {
            c = static_cast<unsigned char>(s[p++]);
        }
        if (c == u'\\')
            out.backslashes << start;
        out.text += QChar(c);
    }
    if (p >= s.size())
        return std::nullopt;
    out.next = p + 1;
    return out;
}

bool samePath(const QStringList& a, const QStringList& b, qsizetype count) {
    for (qsizetype i = 0; i < count; ++i)
        if (a[i].compare(b[i], Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

QByteArray hexNumber(quint64 value, int width = 0) {
    return QByteArray::number(value, 16).rightJustified(width, '0');
}

QByteArray timeLine(qint64 msecsSince1970) {
    const auto ticks = quint64(msecsSince1970 * 10000 + kTicks1601To1970);
    return "#time=" + hexNumber(ticks >> 32) + hexNumber(ticks & 0xFFFFFFFFu, 8);
}

QByteArray seconds(qint64 msecsSince1970) {
    return QByteArray::number(msecsSince1970 / 1000);
}

} // namespace

QByteArray utf16Bytes(QStringView text) {
    QByteArray out;
    out.reserve(text.size() * 2);
    for (const QChar c : text) {
        out += char(c.unicode() & 0xFF);
        out += char(c.unicode() >> 8);
    }
    return out;
}

QString utf16Text(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(char16_t(quint8(bytes[i]) | quint8(bytes[i + 1]) << 8));
    return text;
}

QByteArray escape(const QString& units, char quote1, char quote2) {
    static const char controls[] = ".......abtnvfr.............e....";
    QByteArray out;
    const qsizetype n = units.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = units[i].unicode();
        const bool hasNext = i + 1 < n;
        const char16_t next = hasNext ? units[i + 1].unicode() : 0;
        if (c > 127) {
            const bool digitFollows = hasNext && next < 128 && isHexDigit(next);
            out += "\\x" + hexNumber(c, digitFollows ? 4 : 0);
        } else if (c < 32) {
            if (c == 0 && !hasNext)
                continue;
            if (controls[c] != '.') {
                out += '\\';
                out += controls[c];
            } else {
                const bool octalFollows = hasNext && next >= '0' && next <= '7';
                out += '\\' + QByteArray::number(c, 8).rightJustified(octalFollows ? 3 : 0, '0');
            }
        } else {
            const char a = static_cast<char>(c);
            if (a == '\\' || a == quote1 || a == quote2)
                out += '\\';
            out += a;
        }
    }
    return out;
}

QByteArray valueLine(const QString& name, quint32 type, const QByteArray& stored) {
    QByteArray out =
        name.isEmpty() ? QByteArrayLiteral("@=") : '"' + escape(name, '"', '"') + "\"=";
    qsizetype count = out.size();

    const bool textType =
        type == 1 || type == 2 || type == 7; // REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ
    if (textType && stored.size() >= 2 && stored.size() % 2 == 0 &&
        stored[stored.size() - 1] == 0 && stored[stored.size() - 2] == 0) {
        // Only a properly terminated text is written as text.
        const QString units = utf16Text(stored);
        if (type != 1)
            out += "str(" + hexNumber(type) + "):";
        return out + '"' + escape(units, '"', '"') + '"';
    }
    if (type == 4 && stored.size() == 4) { // REG_DWORD
        const quint32 v = quint8(stored[0]) | quint32(quint8(stored[1])) << 8 |
                          quint32(quint8(stored[2])) << 16 | quint32(quint8(stored[3])) << 24;
        return out + "dword:" + hexNumber(v, 8);
    }

    const QByteArray kind = type == 3 ? QByteArrayLiteral("hex:") : "hex(" + hexNumber(type) + "):";
    out += kind;
    count += kind.size();
    for (qsizetype i = 0; i < stored.size(); ++i) {
        out += hexNumber(quint8(stored[i]), 2);
        count += 2;
        if (i < stored.size() - 1) {
            out += ',';
            if (++count > 76) { // Wine wraps long data, continuing the line with "\"
                out += "\\\n  ";
                count = 2;
            }
        }
    }
    return out;
}

File::File(const QByteArray& text) : m_text(text) {
    // Lines that are not edited stay views into the text, which must then be owned, not
    // borrowed.
    if (!m_text.data_ptr().d_ptr() && !m_text.isEmpty())
        m_text = QByteArray(text.constData(), text.size());
    const auto line = [this](qsizetype from, qsizetype size) {
        return QByteArray::fromRawData(m_text.constData() + from, size);
    };
    m_lines.reserve(m_text.count('\n') + 1);
    for (qsizetype start = 0; start < m_text.size();) {
        const qsizetype lf = m_text.indexOf('\n', start);
        if (lf < 0) {
            m_lines.append({line(start, m_text.size() - start), End::None});
            break;
        }
        const bool cr = lf > start && m_text[lf - 1] == '\r';
        m_lines.append({line(start, lf - start - cr), cr ? End::CrLf : End::Lf});
        start = lf + 1;
    }
    parse();
}

QByteArray File::text() const {
    qsizetype size = 0;
    for (const Line& line : m_lines)
        size += line.content.size() + 2;
    QByteArray out;
    out.reserve(size);
    for (const Line& line : m_lines) {
        out += line.content;
        if (line.end == End::CrLf)
            out += '\r';
        if (line.end != End::None)
            out += '\n';
    }
    return out;
}

File::Line File::newLine(QByteArray content) const {
    const bool crlf = !m_lines.isEmpty() && m_lines[0].end == End::CrLf;
    if (crlf)
        content.replace("\n", "\r\n"); // a long value's continuations
    return {std::move(content), crlf ? End::CrLf : End::Lf};
}

bool File::isRegistry() const {
    return !m_lines.isEmpty() && m_lines[0].content == kSignature;
}

void File::parse() {
    m_sections.clear();
    for (int i = 0; i < m_lines.size(); ++i) {
        const QByteArray& content = m_lines[i].content;
        const qsizetype open = skipBlanks(content, 0);
        if (open >= content.size() || content[open] != '[')
            continue;
        if (!m_sections.isEmpty())
            m_sections.last().end = i;
        Section section;
        section.header = i;
        section.end = int(m_lines.size());
        section.open = open + 1;
        qsizetype p = open + 1;
        bool plain = true;
        while (plain && p < content.size() && content[p] != ']') {
            if (content[p] == '\\' && p + 1 < content.size() && content[p + 1] == '\\')
                p += 2;
            else if (content[p] >= 0x20 && content[p] < 0x7F && content[p] != '\\')
                ++p;
            else
                plain = false;
        }
        if (plain && p < content.size()) {
            section.valid = section.plain = true;
            section.afterBracket = p + 1;
        } else if (const std::optional<Unescaped> path = unescape(content, open + 1, ']')) {
            section.valid = true;
            section.afterBracket = path->next;
        }
        m_sections << section;
    }
}

File::Key File::key(const QStringList& path) {
    Key key{path, {}};
    for (const QString& name : path)
        for (const QChar c : name)
            if (c.unicode() < 0x20 || c.unicode() >= 0x7F)
                return key;
    key.plain = path.join(QStringLiteral("\\\\")).toLatin1();
    return key;
}

bool File::holds(const Section& section, const Key& key, bool exact) const {
    if (!section.valid)
        return false;
    const QByteArray& content = m_lines[section.header].content;
    if (section.plain && !key.plain.isEmpty()) {
        const QByteArrayView raw =
            QByteArrayView(content).sliced(section.open, section.afterBracket - 1 - section.open);
        const qsizetype n = key.plain.size();
        if (raw.size() < n || qstrnicmp(raw.data(), n, key.plain.constData(), n) != 0)
            return false;
        return raw.size() == n || (!exact && raw.sliced(n).startsWith("\\\\"));
    }
    const QStringList names = unescape(content, section.open, ']')->text.split(u'\\');
    return names.size() >= key.path.size() && (!exact || names.size() == key.path.size()) &&
           samePath(names, key.path, key.path.size());
}

QList<File::Value> File::values(const Section& section) const {
    QList<Value> found;
    for (int i = section.header + 1; i < section.end; ++i) {
        const QByteArray& content = m_lines[i].content;
        qsizetype p = skipBlanks(content, 0);
        if (p >= content.size() || (content[p] != '"' && content[p] != '@'))
            continue;
        Value value;
        value.first = i;
        if (content[p] == '@') {
            ++p;
        } else {
            const std::optional<Unescaped> name = unescape(content, p + 1, '"');
            if (!name)
                continue;
            value.name = name->text;
            p = name->next;
        }
        p = skipBlanks(content, p);
        if (p >= content.size() || content[p] != '=')
            continue;
        p = skipBlanks(content, p + 1);
        // Only data in hex form continue over lines that end in "\".
        if (content.mid(p, 3) == "hex") {
            while (i + 1 < section.end && rightTrimmed(m_lines[i].content).endsWith('\\')) {
                ++i;
                ++value.count;
            }
        }
        found << value;
    }
    return found;
}

bool File::hasKey(const QStringList& path) const {
    if (!isRegistry() || path.isEmpty())
        return false;
    const Key wanted = key(path);
    for (const Section& s : m_sections)
        if (holds(s, wanted, false))
            return true;
    return false;
}

void File::shift(int at, int delta) {
    for (Section& s : m_sections) {
        if (s.header >= at) {
            s.header += delta;
            s.end += delta;
        } else if (s.end > at || (delta > 0 && s.end == at)) {
            s.end += delta; // lines added at a section's end are its own
        }
    }
}

void File::stamp(const Section& section, qint64 msecsSince1970) {
    Line& header = m_lines[section.header];
    header.content = header.content.left(section.afterBracket) + ' ' + seconds(msecsSince1970);
    // Wine keeps the last "#time=" it reads for the key; one inside a value's continuation lines
    // is part of that value, not the key's time.
    const QList<Value> inSection = values(section);
    int time = -1;
    for (int i = section.header + 1, v = 0; i < section.end; ++i) {
        while (v < inSection.size() && inSection[v].first + inSection[v].count <= i)
            ++v;
        if (v < inSection.size() && inSection[v].first <= i)
            continue;
        const QByteArray& content = m_lines[i].content;
        if (content.mid(skipBlanks(content, 0), 6) == "#time=")
            time = i;
    }
    if (time >= 0) {
        QByteArray& content = m_lines[time].content;
        content = content.left(skipBlanks(content, 0)) + timeLine(msecsSince1970);
    }
}

bool File::setValue(const QStringList& path, const QString& name, quint32 type,
                    const QByteArray& stored, qint64 msecsSince1970) {
    if (!hasKey(path))
        return false;

    // Should a value appear twice, Wine keeps the last one read, so that one is replaced; a new
    // value goes to the key's last section.
    const Key wanted = key(path);
    std::optional<Section> own;
    std::optional<Section> holder;
    std::optional<Value> existing;
    for (const Section& s : m_sections) {
        if (!holds(s, wanted, true))
            continue;
        own = s;
        for (const Value& v : values(s))
            if (v.name.compare(name, Qt::CaseInsensitive) == 0) {
                existing = v;
                holder = s;
            }
    }

    if (existing) {
        stamp(*holder, msecsSince1970);
        Line line = newLine(valueLine(existing->name, type, stored));
        line.end = m_lines[existing->first + existing->count - 1].end;
        m_lines[existing->first] = std::move(line);
        m_lines.remove(existing->first + 1, existing->count - 1);
        shift(existing->first + 1, 1 - existing->count);
    } else if (own) {
        stamp(*own, msecsSince1970);
        int last = own->end - 1;
        while (last > own->header && rightTrimmed(m_lines[last].content).isEmpty())
            --last;
        int at = last + 1;
        // A value cut short after a "\" would swallow the line after it: go before it instead.
        if (rightTrimmed(m_lines[last].content).endsWith('\\'))
            for (const Value& v : values(*own))
                if (v.first <= last && last < v.first + v.count)
                    at = v.first;
        const Line line = newLine(valueLine(name, type, stored));
        if (at == last + 1 && m_lines[last].end == End::None)
            m_lines[last].end = line.end;
        m_lines.insert(at, line);
        shift(at, 1);
    } else {
        // The key exists only through a section below it: its own section goes just before
        // that one, named as the file already names it.
        for (qsizetype i = 0; i < m_sections.size(); ++i) {
            const Section& s = m_sections[i];
            if (!holds(s, wanted, false))
                continue;
            const QByteArray& header = m_lines[s.header].content;
            const qsizetype separator = unescape(header, s.open, ']')->backslashes[path.size() - 1];
            const QByteArray rawPath = header.mid(s.open, separator - s.open);
            const int at = s.header;
            m_lines.insert(at, newLine("[" + rawPath + "] " + seconds(msecsSince1970)));
            m_lines.insert(at + 1, newLine(timeLine(msecsSince1970)));
            m_lines.insert(at + 2, newLine(valueLine(name, type, stored)));
            m_lines.insert(at + 3, newLine(QByteArray()));
            shift(at, 4);
            if (i > 0)
                m_sections[i - 1].end = at;
            Section added;
            added.header = at;
            added.end = at + 4;
            added.valid = true;
            added.plain = s.plain;
            added.open = 1;
            added.afterBracket = 1 + rawPath.size() + 1;
            m_sections.insert(i, added);
            break;
        }
    }
    return true;
}

} // namespace platform::wine_reg
