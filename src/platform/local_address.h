#pragma once

#include <QString>
#include <optional>

namespace platform {

// The machine's own address as dotted text: the first IPv4 address of an interface that is up,
// loopback left out. nullopt when the machine has none.
std::optional<QString> localIPv4Address();

} // namespace platform
