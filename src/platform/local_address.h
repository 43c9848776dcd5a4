#pragma once

#include <QString>
#include <functional>
#include <optional>

class QHostAddress;
class QObject;

namespace platform {

// The machine's own address as dotted text: the first IPv4 address of an interface that is up,
// loopback left out. nullopt when the machine has none.
std::optional<QString> localIPv4Address();

// The address this machine sends from to reach `to`: the local end of a UDP socket "connected"
// to it, on which nothing is sent. nullopt when there is no route.
std::optional<QString> routeLocalAddress(const QHostAddress& to);

// Looks `host` up without blocking and hands `done` the local address of the route to its first
// IPv4 address, or nullopt when the host cannot be resolved or reached. `done` runs later from
// the event loop, and not at all once `context` is gone.
void lookUpRouteLocalAddress(const QString& host, QObject* context,
                             std::function<void(std::optional<QString>)> done);

} // namespace platform
