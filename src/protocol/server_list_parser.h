#pragma once

#include "common/server_list_row.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

// The list server's reply: single-byte text, one game server per line, each line ending in CR LF.
// Nothing here knows about sockets or widgets.

// Parses one line (cut at its line feed, so the CR still ends it). The address runs up to the
// first ":", the players text sits between the first "[" and the first "]", and the name follows
// the "]" and one blank; the version, the type and the word "private" may stand anywhere. A field
// whose text is not there stays empty, and the row is made all the same. Name, players and address
// keep at most kMaxFieldLength bytes each (the private marker comes after the address's).
inline constexpr qsizetype kMaxFieldLength = 256;
ServerListRow ParseServerListLine(QByteArrayView line);

// Whether a server address that the list server sent can go on the game's command line as
// exactly one argument: no blank, quote or control character in it, and no "-" or "/" in front,
// which the game would take for an option.
bool IsSafeListAddress(QStringView address);

// Takes the next complete line off the front of `text` (without its line feed; a CR before it
// stays). False when `text` holds no further line feed: what is left is no complete line.
bool NextListLine(QByteArrayView& text, QByteArrayView& line);

// Collects the reply across reads. TCP may cut it anywhere, so the unfinished line at the end of
// one read waits for the next read instead of being lost. Between two restarts the reply may grow
// by at most kMaxBytes and bring at most kMaxLines lines; it is cut at whichever comes first, and
// whatever comes beyond is dropped.
class ServerListReply {
public:
    static constexpr qsizetype kMaxBytes = qsizetype(16) * 1024 * 1024;
    static constexpr qsizetype kMaxLines = 65536;

    // A new download: forgets the unfinished line and the counts.
    void restart();

    // How many more bytes the reply may grow by.
    qsizetype room() const { return m_cut ? 0 : kMaxBytes - m_received; }
    // Whether a limit has cut the reply.
    bool cut() const { return m_cut; }

    // Takes one read (only its first room() bytes) and returns the complete lines it finishes,
    // the previous read's unfinished line in front, each ended by its line feed. The view stays
    // valid until the next call.
    QByteArrayView take(QByteArrayView read);

private:
    // The lines that the last call returned, then the unfinished line, which holds no line feed.
    QByteArray m_text;
    qsizetype m_returned = 0;
    qsizetype m_received = 0;
    qsizetype m_lines = 0;
    bool m_cut = false;
};
