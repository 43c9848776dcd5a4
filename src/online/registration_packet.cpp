#include "online/registration_packet.h"

#include "common/game_port.h"

#include <algorithm>

namespace registration {

namespace {

constexpr char kGamePortLittleEndian[] = {char(kGamePort & 0xFF), char(kGamePort >> 8)}; // "D'"
constexpr qsizetype kVersionSize = 2;
constexpr char kTrailer[] = {' ', ' '};

} // namespace

std::optional<GameTypeListing> ListingOfGameType(const QString& gameType) {
    static const struct {
        const char* word;
        GameTypeListing listing;
    } kTypes[] = {
        {"Battle", {nullptr, 0x02}},   {"Treasure", {nullptr, 0x04}}, {"Capture", {nullptr, 0x06}},
        {"Coop", {"     Coop", 0x00}}, {"Race", {"     Race", 0x00}},
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

QByteArray RegistrationPacket(QByteArrayView listName, char gameTypeByte,
                              QByteArrayView versionCode) {
    QByteArray packet(kPacketSize, '\0');
    char* at = packet.data();
    at = std::copy(std::begin(kGamePortLittleEndian), std::end(kGamePortLittleEndian), at);

    const QByteArrayView name = listName.first(std::min(listName.size(), kMaxNameLength));
    std::copy(name.begin(), name.end(), at); // the zero bytes after it are already there
    at += kNameFieldSize;
    at[-1] = gameTypeByte;

    const QByteArrayView version = versionCode.first(std::min(versionCode.size(), kVersionSize));
    std::fill(std::copy(version.begin(), version.end(), at), at + kVersionSize, ' ');
    at += kVersionSize;

    std::copy(std::begin(kTrailer), std::end(kTrailer), at);
    return packet;
}

} // namespace registration
