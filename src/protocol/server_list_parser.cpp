#include "protocol/server_list_parser.h"

#include "common/name_codes.h"

#include <algorithm>
#include <string_view>

namespace {

struct Token {
    QByteArrayView text;
    QByteArray value;
};

// Every token found sets the field, so of several in one line the last in this order wins.
// The list servers write the 1.21 to 1.23 build as "1.23" too, so each "1.21" token is followed
// by its "1.23" twin, which gives the same version.
const Token kVersionTokens[] = {
    {"1.24   ", QByteArrayLiteral("1.24")},      {"1.21   ", QByteArrayLiteral("1.21")},
    {"1.23   ", QByteArrayLiteral("1.21")},      {"1.24 x ", QByteArrayLiteral("1.24 x")},
    {"1.21 x ", QByteArrayLiteral("1.21 x")},    {"1.23 x ", QByteArrayLiteral("1.21 x")},
    {"1.24 s ", QByteArrayLiteral("1.24 s")},    {"1.21 s ", QByteArrayLiteral("1.21 s")},
    {"1.23 s ", QByteArrayLiteral("1.21 s")},    {"1.21\x14\x14", QByteArrayLiteral("1.21")},
    {"1.23\x14\x14", QByteArrayLiteral("1.21")}, {"1.24\x14\x14", QByteArrayLiteral("1.24")},
};

// Today's list servers write coop and race as mode words after "public" or "private", so each
// name suffix is followed by its twins, which give the same type.
const Token kTypeWords[] = {
    {"battle", QByteArrayLiteral("Battle")},      {"ctf", QByteArrayLiteral("CTF")},
    {"treasure", QByteArrayLiteral("Trs")},       {"     Coop", QByteArrayLiteral("Coop")},
    {"public coop ", QByteArrayLiteral("Coop")},  {"private coop ", QByteArrayLiteral("Coop")},
    {"     Race", QByteArrayLiteral("Race")},     {"public race ", QByteArrayLiteral("Race")},
    {"private race ", QByteArrayLiteral("Race")},
};

std::string_view view(QByteArrayView bytes) {
    return std::string_view(bytes.data(), std::size_t(bytes.size()));
}

// Short tokens compared in line: a call into the library per position would cost more.
inline bool startsWith(std::string_view text, std::string_view token) {
    if (text.size() < token.size())
        return false;
    for (std::size_t i = 0; i < token.size(); ++i)
        if (text[i] != token[i])
            return false;
    return true;
}

// Which tokens occur anywhere in a line, each as a bit numbered by its place in its table.
// One pass over the line: a list may hold tens of thousands of lines.
struct TokensFound {
    unsigned versions = 0;
    unsigned types = 0;
    bool isPrivate = false;
};

TokensFound findTokens(std::string_view line) {
    TokensFound found;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const std::string_view rest = line.substr(i);
        switch (line[i]) {
        case '1':
            if (!startsWith(rest, "1.2")) // what every version token begins with
                break;
            for (std::size_t k = 0; k < std::size(kVersionTokens); ++k)
                if (startsWith(rest, view(kVersionTokens[k].text)))
                    found.versions |= 1u << k;
            break;
        case ' ':
            if (!startsWith(rest, "     ")) // the type words that begin with a blank have five
                break;
            [[fallthrough]];
        case 'p':
            found.isPrivate = found.isPrivate || startsWith(rest, "private");
            [[fallthrough]];
        case 'b':
        case 'c':
        case 't':
            for (std::size_t k = 0; k < std::size(kTypeWords); ++k)
                if (startsWith(rest, view(kTypeWords[k].text)))
                    found.types |= 1u << k;
            break;
        default:
            break;
        }
    }
    return found;
}

// Of the tokens found, the last in table order.
template <std::size_t N> QByteArray lastFound(const Token (&tokens)[N], unsigned found) {
    QByteArray value;
    for (std::size_t k = 0; k < N; ++k)
        if (found & (1u << k))
            value = tokens[k].value;
    return value;
}

void removeAll(QByteArray& text, QByteArrayView what) {
    if (view(text).find(view(what)) != std::string_view::npos)
        text.replace(what, QByteArrayView());
}

} // namespace

ServerListRow ParseServerListLine(QByteArrayView line) {
    ServerListRow row;
    const qsizetype open = line.indexOf('[');  // -1 when there is none
    const qsizetype close = line.indexOf(']'); // -1 when there is none

    // The name follows the "]" and the one blank after it, and loses its last character (the CR).
    // Without a "]" the name is the line without its first character.
    const qsizetype nameLength = line.size() - close - 2;
    if (nameLength > 0) {
        row.name = line.last(nameLength).chopped(1).toByteArray();
        // Colour toggles and spacing codes go; a "§" without a digit stays.
        row.name = name_codes::stripped(std::move(row.name),
                                        {.bars = true, .digits = "1234567890", .loneSigns = false});
    }

    // The players text lies between the first "[" and the first "]"; without a "[" it is
    // everything before the "]", and a "]" before the "[" gives none.
    const qsizetype playersLength = close - open - 1;
    if (playersLength >= 0)
        row.players = line.sliced(open + 1, std::min(playersLength, kMaxFieldLength)).toByteArray();

    const TokensFound found = findTokens(view(line));
    row.version = lastFound(kVersionTokens, found.versions);
    row.type = lastFound(kTypeWords, found.types);

    const qsizetype colon = line.indexOf(':');
    if (colon >= 0) {
        row.address = line.first(std::min(colon, kMaxFieldLength)).toByteArray();
        if (found.isPrivate)
            row.address += "%P";
    }

    // A coop or race server registered by an older client carries the suffix "     Coop" or
    // "     Race"; four of its five blanks go with the word, so one trailing blank stays.
    removeAll(row.name, "    Race");
    removeAll(row.name, "    Coop");
    // A list server may send fields of any length; real ones are a few dozen bytes at most.
    row.name.truncate(kMaxFieldLength);
    return row;
}

bool IsSafeListAddress(QStringView address) {
    if (address.startsWith(u'-') || address.startsWith(u'/'))
        return false;
    for (QChar c : address)
        if (c == u' ' || c == u'"' || c == u'\'' || c.category() == QChar::Other_Control)
            return false;
    return true;
}

bool NextListLine(QByteArrayView& text, QByteArrayView& line) {
    const qsizetype feed = text.indexOf('\n');
    if (feed < 0)
        return false;
    line = text.first(feed);
    text = text.sliced(feed + 1);
    return true;
}

void ServerListReply::restart() {
    m_text.clear();
    m_returned = 0;
    m_received = 0;
    m_lines = 0;
    m_cut = false;
}

QByteArrayView ServerListReply::take(QByteArrayView read) {
    // The unfinished line holds no line feed, so only the read's own bytes are looked at: a long
    // line that comes in many reads costs its length once, not once per read.
    m_text.remove(0, m_returned);
    read = read.first(qMin(read.size(), room()));
    m_received += read.size();
    m_cut = m_cut || m_received == kMaxBytes;
    const qsizetype unfinished = m_text.size();
    m_text.append(read);
    qsizetype complete = read.lastIndexOf('\n') + 1;
    qsizetype lines = read.first(complete).count('\n');
    if (m_lines + lines > kMaxLines) {
        // Up to and with the last line feed that the line limit leaves.
        lines = kMaxLines - m_lines;
        complete = 0;
        for (qsizetype left = lines; left > 0; --left)
            complete = read.indexOf('\n', complete) + 1;
        m_cut = true;
    }
    m_lines += lines;
    m_returned = complete > 0 ? unfinished + complete : 0;
    if (m_cut)
        m_text.truncate(m_returned);
    return QByteArrayView(m_text).first(m_returned);
}
