#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// The record that registers a hosted game with the list server: 42 single-byte characters.
// Nothing here knows about sockets or widgets.
//
//   offset  length  content
//    0       2      "D'" (0x44 0x27), the game's port 10052 as a little-endian number
//    2      36      the name field: the listed name, zero bytes, and the game-type byte last
//   38       2      the game build: "21" (1.21 to 1.23) or "24" (1.24)
//   40       2      two blanks
namespace registration {

inline constexpr qsizetype kPacketSize = 42;
inline constexpr qsizetype kNameFieldSize = 36;
// The name field keeps its last byte for the game type, so a longer name is cut here.
inline constexpr qsizetype kMaxNameLength = kNameFieldSize - 1;

// How a game type is listed. Coop and race games carry no type of their own in the record; the
// list shows what they are by a word after the name.
struct GameTypeListing {
    const char* nameSuffix; // nullptr: the name goes in as it is
    char typeByte;
};

// For the serve page's game-type word, compared exactly ("Battle", "Treasure", "Capture",
// "Coop", "Race"); nothing for any other word.
std::optional<GameTypeListing> ListingOfGameType(const QString& gameType);

// "21" for the TSF box's value 0, "24" for 1; nothing for any other value.
std::optional<QByteArray> ListVersionCode(int tsfValue);

// The record for a listed name (single-byte text), its game-type byte and its two-byte version
// code. Always kPacketSize bytes: a name longer than kMaxNameLength is cut, and the version code
// fills exactly its two bytes (blank-filled if shorter).
QByteArray RegistrationPacket(QByteArrayView listName, char gameTypeByte,
                              QByteArrayView versionCode);

} // namespace registration
