// Feeds arbitrary bytes to the server-list reader as a reply cut into reads at arbitrary places,
// and checks that the lines and rows do not depend on the cuts.
#include "protocol/server_list_parser.h"
#include "require.h"

#include <QList>
#include <cstddef>
#include <cstdint>

namespace {

QList<ServerListRow> rowsOf(QByteArrayView text) {
    QList<ServerListRow> rows;
    QByteArrayView line;
    while (NextListLine(text, line)) {
        ServerListRow row = ParseServerListLine(line);
        // The address runs up to the first ":", and no field keeps more than 256 bytes.
        const qsizetype colon = line.indexOf(':');
        const QByteArray host =
            line.first(qMin(qMax(colon, qsizetype(0)), qsizetype(256))).toByteArray();
        const QByteArray address = colon < 0                  ? QByteArray()
                                   : line.contains("private") ? host + "%P"
                                                              : host;
        require(!row.name.contains('|') && row.name.size() <= 256 && row.players.size() <= 256 &&
                row.address == address);
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
    require(rows == expected);
    return 0;
}
