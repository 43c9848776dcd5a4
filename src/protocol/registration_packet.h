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
//    2      33      the listed name, then zero bytes
//   35       1      players: 0, the game has only just started
//   36       1      the maximum number of players; the list server hides a game whose is 0
//   37       1      flags: bit 0 private, bits 1 to 5 the game mode
//   38       2      the game build: "21" (1.21 to 1.23) or "24" (1.24)
//   40       2      two blanks
namespace registration {

inline constexpr qsizetype kPacketSize = 42;
// The name ends where the players byte begins, so a longer name is cut here.
inline constexpr qsizetype kMaxNameLength = 33;

// How a game type is listed: its flags byte, which carries the list server's own mode number
// (1 battle, 2 treasure, 3 ctf, 4 race, 5 coop) in bits 1 to 5. The name goes in as it is: a type
// word after it would show twice in every list, as the list server adds the mode's own.
struct GameTypeListing {
    bool nameReadAgain; // coop and race games take the server name as it stands at that step
    char flags;
};

// For the serve page's game-type word, compared exactly ("Battle", "Treasure", "Capture",
// "Coop", "Race"); nothing for any other word.
std::optional<GameTypeListing> ListingOfGameType(const QString& gameType);

// "21" for the TSF box's value 0, "24" for 1; nothing for any other value.
std::optional<QByteArray> ListVersionCode(int tsfValue);

// The maximum number of players the record carries for the value on the server's command line:
// a whole number, at most 255; anything else, 0 among it, gives the page's default of 32, as a
// game listed with 0 would never be shown.
quint8 ListMaxPlayers(const QString& maxPlayersArg);

// The record for a listed name (single-byte text), its maximum players, flags byte and two-byte
// version code. Always kPacketSize bytes: a name longer than kMaxNameLength is cut, and the
// version code fills exactly its two bytes (blank-filled if shorter).
QByteArray RegistrationPacket(QByteArrayView listName, quint8 maxPlayers, char flags,
                              QByteArrayView versionCode);

} // namespace registration
