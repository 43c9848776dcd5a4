#pragma once

#include <QByteArray>

// One game server of the list server's reply, as the server table shows it. The fields are
// single-byte text as the list server sent it.
struct ServerListRow {
    QByteArray name;    // colour and spacing codes removed
    QByteArray type;    // "Battle", "CTF", "Trs", "Coop", "Race" or empty
    QByteArray version; // a server version ("1.24", "1.21 x", ...) or empty
    QByteArray players; // the text between the brackets, as sent
    QByteArray address; // the server's address; "%P" follows it for a private server

    friend bool operator==(const ServerListRow&, const ServerListRow&) = default;
};
