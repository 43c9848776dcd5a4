#pragma once

#include <QtGlobal>

// The port a game server listens on, for TCP and UDP alike.
inline constexpr quint16 kGamePort = 10052;
