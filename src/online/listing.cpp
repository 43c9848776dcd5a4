#include "online/listing.h"

#include "common/status_line.h"
#include "common/timing.h"
#include "online/listing_host.h"
#include "online/listing_window.h"
#include "platform/windows_1252.h"
#include "protocol/registration_packet.h"

#include <QTcpSocket>
#include <QTimer>

namespace {

constexpr int kRecordCount = 5;

const QString kDelisted = QStringLiteral("Status: Server Delisted");

} // namespace

Listing::Listing(ListingHost& host, QString listServerHost, quint16 listingPort, QObject* parent)
    : QObject(parent), m_host(host), m_listServerHost(std::move(listServerHost)),
      m_listingPort(listingPort) {
    Winsock1 = new QTcpSocket(this);
    Winsock1->setObjectName(QStringLiteral("Winsock1"));
    // Socket events run from the event loop, never inside the call that caused them, so that
    // StartListing has finished (window open, caption set) before its connection is reported.
    connect(Winsock1, &QTcpSocket::connected, this, &Listing::Winsock1_Connect,
            Qt::QueuedConnection);
    connect(
        Winsock1, &QAbstractSocket::stateChanged, this, [this](QAbstractSocket::SocketState state) {
            if (state == QAbstractSocket::UnconnectedState)
                QMetaObject::invokeMethod(this, &Listing::checkConnection, Qt::QueuedConnection);
        });
    // Unread data would pile up in the socket for as long as the listing lasts.
    connect(Winsock1, &QTcpSocket::readyRead, this,
            [this] { Winsock1->skip(Winsock1->bytesAvailable()); });

    Timer1 = timing::oneShot(this, "Timer1");
    Timer3 = timing::oneShot(this, "Timer3");
    Timer4 = timing::oneShot(this, "Timer4");
    RecordTimer = timing::oneShot(this, "RecordTimer");
    connect(Timer1, &QTimer::timeout, this, &Listing::Timer1_Timer);
    connect(Timer3, &QTimer::timeout, this, &Listing::Timer3_Timer);
    connect(Timer4, &QTimer::timeout, this, &Listing::Timer4_Timer);
    connect(RecordTimer, &QTimer::timeout, this, &Listing::RecordTimer_Timer);
}

Listing::~Listing() {
    Winsock1->disconnect(this);
    delete m_form2;
}

void Listing::StartListing() {
    m_host.status().setText(QStringLiteral("Status: Hosting Game..."));
    // A listing still open or opening is withdrawn and made anew: the list server then holds
    // this game's values, and the window follows this connection instead of waiting forever.
    m_wanted = false;
    stopChain();
    Winsock1->abort();
    m_wanted = true;
    Winsock1->connectToHost(m_listServerHost, m_listingPort);

    // A window that was closed is unloaded, even while its destruction is still pending.
    if (m_form2 && m_form2->isHidden())
        delete m_form2;
    if (!m_form2)
        m_form2 = new ListingWindow(*this, m_host.programIcon());
    m_form2->show();
    setCaption(QStringLiteral("Status: Connecting"));

    m_host.setMaxPlayersArg(m_host.maxPlayersText());
}

void Listing::Winsock1_Connect() {
    // A report of a connection that has been replaced since.
    if (Winsock1->state() != QAbstractSocket::ConnectedState)
        return;
    setCaption(QStringLiteral("Status: Connected"));
    ListName = platform::toWindows1252(m_host.serverNameText());
    Timer1->start(timing::scaled(3000));
    setCaption(QStringLiteral("Status: Listing Server"));
}

void Listing::Timer1_Timer() {
    const std::optional<registration::GameTypeListing> type =
        registration::ListingOfGameType(m_host.gameTypeWord());
    // Coop and race games take the name as it stands now.
    if (type && type->nameReadAgain)
        ListName = platform::toWindows1252(m_host.serverNameText());
    ListTypeByte = type ? std::optional<char>(type->flags) : std::nullopt;
    Timer3->start(timing::scaled(2000));
}

// The record's zero padding follows from the name when the record is built; this step only
// keeps the chain's pace.
void Listing::Timer3_Timer() {
    Timer4->start(timing::scaled(1000));
}

void Listing::Timer4_Timer() {
    // With the window closed the chain ends here: nothing is sent, and nothing stays armed
    // that could send for a later listing.
    if (!windowOpen())
        return;
    const std::optional<QByteArray> version = registration::ListVersionCode(m_host.tsfValue());
    // Without a build or a game type there is no record to send, and nothing to claim.
    if (!version || !ListTypeByte || Winsock1->state() != QAbstractSocket::ConnectedState)
        return;
    m_record = registration::RegistrationPacket(
        ListName, registration::ListMaxPlayers(m_host.maxPlayersArg()), *ListTypeByte, *version);
    m_recordsSent = 0;
    sendRecord();
}

void Listing::RecordTimer_Timer() {
    if (Winsock1->state() == QAbstractSocket::ConnectedState)
        sendRecord();
}

// One record per send, the next one a moment later, and the game counts as listed after the last.
void Listing::sendRecord() {
    Winsock1->write(m_record);
    Winsock1->flush();
    if (++m_recordsSent < kRecordCount) {
        // Not scaled with the other delays: the gap is what keeps the records apart on the wire.
        RecordTimer->start(kRecordGapMs);
        return;
    }
    setCaption(QStringLiteral("Status: Server Is Listed"));
}

void Listing::Delist() {
    m_wanted = false;
    stopChain();
    Winsock1->close();
    m_host.status().setText(kDelisted);
    if (m_form2)
        m_form2->close();
}

ListingWindow* Listing::window() const {
    return m_form2;
}

bool Listing::windowOpen() const {
    return m_form2 && !m_form2->isHidden();
}

void Listing::setCaption(const QString& caption) {
    if (m_form2)
        m_form2->setWindowTitle(caption);
}

void Listing::stopChain() {
    for (QTimer* timer : {Timer1, Timer3, Timer4, RecordTimer})
        timer->stop();
}

// The listing lasts as long as its connection. One that failed or that the list server dropped
// is no listing any more, and the window must not go on saying otherwise.
void Listing::checkConnection() {
    if (!m_wanted || Winsock1->state() != QAbstractSocket::UnconnectedState)
        return;
    m_wanted = false;
    stopChain();
    setCaption(kDelisted);
    m_host.status().setText(kDelisted);
}
