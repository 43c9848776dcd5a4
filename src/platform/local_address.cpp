#include "platform/local_address.h"

#include <QHostAddress>
#include <QNetworkInterface>

namespace platform {

std::optional<QString> localIPv4Address() {
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            return address.toString();
    return std::nullopt;
}

} // namespace platform
