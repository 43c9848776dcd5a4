#include "platform/local_address.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QUdpSocket>

namespace platform {

std::optional<QString> localIPv4Address() {
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            return address.toString();
    return std::nullopt;
}

std::optional<QString> routeLocalAddress(const QHostAddress& to) {
    QUdpSocket socket;
    // Any port: a UDP connect only picks the route, and nothing goes out.
    socket.connectToHost(to, 9);
    if (socket.state() != QAbstractSocket::ConnectedState || socket.localAddress().isNull())
        return std::nullopt;
    return socket.localAddress().toString();
}

void lookUpRouteLocalAddress(const QString& host, QObject* context,
                             std::function<void(std::optional<QString>)> done) {
    QHostInfo::lookupHost(host, context, [done = std::move(done)](const QHostInfo& info) {
        for (const QHostAddress& address : info.addresses())
            if (address.protocol() == QAbstractSocket::IPv4Protocol) {
                done(routeLocalAddress(address));
                return;
            }
        done(std::nullopt);
    });
}

} // namespace platform
