#pragma once

#include "common/game_port.h"
#include "protocol/server_info_packets.h"

#include <QWidget>

class QPlainTextEdit;
class QTcpSocket;
class QTimer;

// "Server Information" (Form6): the level and the players of one game server.
//
// The window joins the server as a probe client: once the connection is up it sends the join
// request, answers the server's level packet with the probe reply, shows the level file name and
// then the player names of the next packet, and closes the connection. It is created on the first
// query and unloaded, with its connection, when the user closes it.
class ServerInfoWindow : public QWidget {
    Q_OBJECT
public:
    explicit ServerInfoWindow(quint16 gamePort = kGamePort, QWidget* parent = nullptr);
    ~ServerInfoWindow() override;

    // Ends the query under way, if any.
    void closeConnection();
    // Connects to the server in Text2 and waits for the connection with Timer2.
    void connectToServer();

    void Timer2_Timer();
    void SendJoinRequest();
    void Winsock1_DataArrival();

    // How long a whole query may take, in milliseconds before scaling, whatever the server sends.
    static constexpr int kQueryWait = 10000;

    QPlainTextEdit* Text1 = nullptr; // the answer
    QString Text2 = QStringLiteral("IP Address"); // the server's address
    QString Text3 = QStringLiteral("1.21");       // the server's version
    QTcpSocket* Winsock1 = nullptr;
    QTimer* Timer2 = nullptr;      // polls for the connection
    QTimer* AnswerTimer = nullptr; // ends the query, answered or not
    qint32 ClientId = 0;           // the client number the server gave the probe last

private:
    void readPackets();
    void AnswerTimer_Timer();
    void Winsock1_Error();
    void endQuery(bool failed);
    void showText(const QString& text);

    quint16 m_gamePort;
    InfoPacketReader m_reader;
    bool m_querying = false; // connected or connecting, and the player list not yet shown
    bool m_answered = false; // the server has sent its level or its players on this connection
    QString m_levelLine;     // "Level: " and the name this server sent, once it has
};
