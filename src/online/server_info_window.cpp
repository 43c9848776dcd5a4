#include "online/server_info_window.h"

#include "common/timing.h"
#include "common/twips.h"
#include "platform/gui/fonts.h"
#include "platform/gui/place.h"
#include "platform/windows_1252.h"

#include <QPlainTextEdit>
#include <QTcpSocket>
#include <QTimer>

namespace {

using platform::place;

// The text box breaks lines at "\n"; the packets' texts use CR LF.
QString shown(QByteArrayView bytes) {
    return platform::fromWindows1252(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

ServerInfoWindow::ServerInfoWindow(quint16 gamePort, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_gamePort(gamePort) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Server Information"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(platform::tahoma(8.25));
    setFixedSize(px(2655), px(2790));

    Text1 = place<QPlainTextEdit>(this, "Text1", twipsRect(120, 120, 2415, 2535));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setAccessibleName(QStringLiteral("Server information"));

    Winsock1 = new QTcpSocket(this);
    Winsock1->setObjectName(QStringLiteral("Winsock1"));
    connect(Winsock1, &QTcpSocket::readyRead, this, &ServerInfoWindow::Winsock1_DataArrival);
    // Queued: the socket is done with its own handling of the error by then.
    connect(Winsock1, &QTcpSocket::errorOccurred, this, &ServerInfoWindow::Winsock1_Error,
            Qt::QueuedConnection);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    connect(Timer2, &QTimer::timeout, this, &ServerInfoWindow::Timer2_Timer);

    AnswerTimer = timing::oneShot(this, "AnswerTimer");
    connect(AnswerTimer, &QTimer::timeout, this, &ServerInfoWindow::AnswerTimer_Timer);
}

// The connection goes with the window; nothing may reach it any more on the way.
ServerInfoWindow::~ServerInfoWindow() {
    Winsock1->disconnect(this);
}

void ServerInfoWindow::closeConnection() {
    m_querying = false;
    Timer2->stop();
    AnswerTimer->stop();
    Winsock1->abort();
    m_reader.restart();
}

void ServerInfoWindow::connectToServer() {
    m_querying = true;
    m_answered = false;
    m_levelLine.clear();
    m_reader.restart();
    Winsock1->connectToHost(Text2, m_gamePort);
    Timer2->start(timing::scaled(1));
    // Once, for the whole query: a server that trickles bytes must not keep it open.
    AnswerTimer->start(timing::scaled(kQueryWait));
}

void ServerInfoWindow::Timer2_Timer() {
    if (Winsock1->state() != QAbstractSocket::ConnectedState)
        return;
    SendJoinRequest();
    Timer2->stop();
}

void ServerInfoWindow::SendJoinRequest() {
    Winsock1->write(JoinRequest(Text3));
}

void ServerInfoWindow::Winsock1_DataArrival() {
    const QByteArray read = Winsock1->readAll();
    if (!m_querying || read.isEmpty())
        return;
    m_reader.add(read);
    readPackets();
}

// Takes the packets that have come whole, in order: the level packet is answered with the probe
// reply, the player list ends the query, others are passed over. The first of these replaces what
// Text1 shows, so that no part of an earlier server's answer stands beside this one's. Text1 is
// written once per read, so that a flood of small packets costs one layout, not one each.
void ServerInfoWindow::readPackets() {
    std::optional<QString> text;
    while (m_querying) {
        const std::optional<QByteArray> packet = m_reader.next();
        if (!packet)
            break;
        const InfoPacketKind kind = KindOf(*packet);
        if (kind == InfoPacketKind::Other)
            continue;
        m_answered = true;
        if (const std::optional<quint8> id = ClientIdOf(*packet))
            ClientId = *id;
        if (kind == InfoPacketKind::Level) {
            const std::optional<QByteArray> level = GetLevelFileName(*packet);
            m_levelLine = level ? QStringLiteral("Level: ") + shown(*level) : QString();
            text = m_levelLine;
            if (Winsock1->state() == QAbstractSocket::ConnectedState)
                Winsock1->write(ProbeReply(quint8(ClientId)));
            continue;
        }
        text = m_levelLine + QStringLiteral("\n\n") + shown(ParsePlayerList(*packet));
        endQuery(false);
    }
    if (text)
        showText(*text);
}

// The query has had its time: what has come whole is all there is.
void ServerInfoWindow::AnswerTimer_Timer() {
    if (m_querying)
        endQuery(!m_answered);
}

// The server closed the connection, or could not be reached. An error that has not ended the
// connection, or that belongs to one a new query has replaced meanwhile, is no end of this query.
void ServerInfoWindow::Winsock1_Error() {
    if (!m_querying || Winsock1->state() != QAbstractSocket::UnconnectedState)
        return;
    // What came before the close is all there will be; a packet still cut short never ends.
    if (Winsock1->bytesAvailable() > 0)
        Winsock1_DataArrival();
    if (m_querying)
        endQuery(!m_answered);
}

// Without a word from the server the previous answer, of whichever server it was, must not stand
// as this one's.
void ServerInfoWindow::endQuery(bool failed) {
    closeConnection();
    if (failed)
        showText(QStringLiteral("No answer from the server."));
}

void ServerInfoWindow::showText(const QString& text) {
    Text1->setPlainText(text);
}
