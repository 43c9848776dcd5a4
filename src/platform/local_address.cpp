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

namespace {

// Takes the lookup's result through a queued slot rather than a functor: Qt frees a functor only
// when it delivers the result, so one still pending when the program ends would be lost, while a
// queued slot call goes with its receiver.
class RouteLookup : public QObject {
    Q_OBJECT
public:
    RouteLookup(QObject* context, std::function<void(std::optional<QString>)> done)
        : QObject(context), m_done(std::move(done)) {}

public Q_SLOTS:
    void finished(const QHostInfo& info) {
        deleteLater();
        for (const QHostAddress& address : info.addresses())
            if (address.protocol() == QAbstractSocket::IPv4Protocol) {
                m_done(routeLocalAddress(address));
                return;
            }
        m_done(std::nullopt);
    }

private:
    std::function<void(std::optional<QString>)> m_done;
};

} // namespace

void lookUpRouteLocalAddress(const QString& host, QObject* context,
                             std::function<void(std::optional<QString>)> done) {
    QHostInfo::lookupHost(host, new RouteLookup(context, std::move(done)),
                          SLOT(finished(QHostInfo)));
}

} // namespace platform

#include "local_address.moc"
