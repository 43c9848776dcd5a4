#include "protocol/registration_packet.h"

#include "common/game_port.h"

#include <algorithm>

namespace registration {

namespace {

constexpr char kGamePortLittleEndian[] = {char(kGamePort & 0xFF), char(kGamePort >> 8)}; // "D'"
constexpr qsizetype kNameAt = 2;
constexpr qsizetype kMaxPlayersAt = 36;
constexpr qsizetype kFlagsAt = 37;
constexpr qsizetype kVersionAt = 38;
constexpr qsizetype kVersionSize = 2;
constexpr qsizetype kTrailerAt = 40;
constexpr quint8 kDefaultMaxPlayers = 32;

} // namespace

std::optional<GameTypeListing> ListingOfGameType(const QString& gameType) {
    static const struct {
        const char* word;
        GameTypeListing listing;
    } kTypes[] = {
        {"Battle", {false, 0x02}}, {"Treasure", {false, 0x04}}, {"Capture", {false, 0x06}},
        {"Coop", {true, 0x0A}},    {"Race", {true, 0x08}},
    };
    for (const auto& type : kTypes)
        if (gameType == QLatin1StringView(type.word))
            return type.listing;
    return std::nullopt;
}

std::optional<QByteArray> ListVersionCode(int tsfValue) {
    switch (tsfValue) {
    case 0:
        return QByteArrayLiteral("21");
    case 1:
        return QByteArrayLiteral("24");
    default:
        return std::nullopt;
    }
}

quint8 ListMaxPlayers(const QString& maxPlayersArg) {
    bool whole = false;
    const qlonglong value = maxPlayersArg.trimmed().toLongLong(&whole);
    if (!whole || value <= 0)
        return kDefaultMaxPlayers;
    return quint8(std::min<qlonglong>(value, 255));
}

QByteArray RegistrationPacket(QByteArrayView listName, quint8 maxPlayers, char flags,
                              QByteArrayView versionCode) {
    QByteArray packet(kPacketSize, '\0'); // the players byte stays 0
    char* at = packet.data();
    std::copy(std::begin(kGamePortLittleEndian), std::end(kGamePortLittleEndian), at);

    const QByteArrayView name = listName.first(std::min(listName.size(), kMaxNameLength));
    std::copy(name.begin(), name.end(), at + kNameAt); // the zero bytes after it are there
    at[kMaxPlayersAt] = char(maxPlayers);
    at[kFlagsAt] = flags;

    const QByteArrayView version = versionCode.first(std::min(versionCode.size(), kVersionSize));
    std::fill(std::copy(version.begin(), version.end(), at + kVersionAt),
              at + kVersionAt + kVersionSize, ' ');
    std::fill(at + kTrailerAt, at + kPacketSize, ' ');
    return packet;
}

} // namespace registration
