#pragma once

#include "common/game_port.h"

#include "protocol/password_datagram.h"

#include <QHostAddress>
#include <QWidget>

class PasswordDialogHost;
class QLineEdit;
class QPushButton;
class QTimer;
class QUdpSocket;

namespace platform {
class Dialogs;
class ProgramStarter;
} // namespace platform

// "Server Wants Password" (Form9): asks for a private server's password and checks it with the
// server over UDP before the game is started. Modeless; it unloads itself (it is deleted) when
// the server accepts or the user closes it.
class PasswordDialog : public QWidget {
    Q_OBJECT
public:
    PasswordDialog(platform::Dialogs& dialogs, platform::ProgramStarter* starter,
                   quint16 serverPort = kGamePort,
                   quint16 localPort = kGamePort);
    ~PasswordDialog() override;

    void Command1_Click(); // "Finish"
    void Timer1_Timer();
    void Winsock1_DataArrival();

    QLineEdit* Text1 = nullptr; // the password
    QPushButton* Command1 = nullptr;
    QString IP = QStringLiteral("Text2");      // the server's address
    QString Version = QStringLiteral("Text2"); // the executable to start
    QTimer* Timer1 = nullptr;     // sends the datagram once the socket is open
    QUdpSocket* Winsock1 = nullptr;

    // How long an exchange waits for the server's answer before it gives up.
    static constexpr int kReplyWaitMs = 5000;

private:
    bool openSocket();
    void endExchange();
    void noReply();

    platform::Dialogs& m_dialogs;
    platform::ProgramStarter* m_starter;
    quint16 m_serverPort;
    quint16 m_localPort;
    QHostAddress m_server; // where the pending exchange sent its datagram
    QTimer* m_replyWait = nullptr;
};

// Fills the password window from the selected server and shows it. An open window keeps its
// password and caption.
void OpenPasswordDialog(PasswordDialogHost& host);
