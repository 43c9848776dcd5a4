// Feeds arbitrary bytes to the server-list reader as a reply cut into reads at arbitrary places,
// and checks that the lines and rows do not depend on the cuts.
#include "protocol/server_list_parser.h"

#include <QList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QList<ServerListRow> rowsOf(QByteArrayView text) {
    QList<ServerListRow> rows;
    QByteArrayView line;
    while (NextListLine(text, line)) {
        ServerListRow row = ParseServerListLine(line);
        const qsizetype colon = line.indexOf(':');
        const QByteArray address = colon < 0 ? QByteArray()
                                   : line.contains("private")
                                       ? line.first(colon).toByteArray() + "%P"
                                       : line.first(colon).toByteArray();
        if (row.name.contains('|') || row.players.size() > line.size() || row.address != address)
            std::abort();
        rows << std::move(row);
    }
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses the size of the reads.
    const qsizetype step = 1 + data[0] % 64;
    const QByteArrayView reply(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    ServerListReply whole;
    const QList<ServerListRow> expected = rowsOf(whole.take(reply));

    ServerListReply inReads;
    QList<ServerListRow> rows;
    for (qsizetype at = 0; at < reply.size(); at += step)
        rows += rowsOf(inReads.take(reply.sliced(at, qMin(step, reply.size() - at))));
    if (!(rows == expected))
        std::abort();
    return 0;
}
