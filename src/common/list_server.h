#pragma once

#include <QString>
#include <QtGlobal>

// The public list server the launcher talks to unless told otherwise.
inline QString defaultListServerHost() { return QStringLiteral("list.jj2.plus"); }

// The list server's port that serves the list of public game servers.
inline constexpr quint16 kServerListPort = 10057;

// The list server's port on which a hosted game is registered, and stays listed while the
// connection lasts.
inline constexpr quint16 kListingPort = 10054;
