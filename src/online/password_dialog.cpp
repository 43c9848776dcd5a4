#include "online/password_dialog.h"

#include "common/launch_game.h"
#include "common/timing.h"
#include "common/twips.h"
#include "online/password_dialog_host.h"
#include "platform/dialogs.h"
#include "platform/gui/fonts.h"
#include "platform/gui/place.h"
#include "platform/windows_1252.h"

#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QTimer>
#include <QUdpSocket>

namespace {

using platform::place;

// An IPv4 sender as dotted text, also when the socket reports it IPv4-mapped.
QString addressText(const QHostAddress& address) {
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4).toString() : address.toString();
}

} // namespace

PasswordDialog::PasswordDialog(platform::Dialogs& dialogs, platform::ProgramStarter* starter,
                               quint16 serverPort, quint16 localPort)
    : m_dialogs(dialogs), m_starter(starter), m_serverPort(serverPort), m_localPort(localPort) {
    // A window of its own: it must stay usable while the main window is disabled.
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Server Wants Password"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(platform::tahoma(8.25));
    setFixedSize(px(3780), px(405));

    Text1 = place<QLineEdit>(this, "Text1", twipsRect(60, 60, 2535, 285));
    Text1->setMaxLength(14);
    Text1->setEchoMode(QLineEdit::Password);
    Text1->setAccessibleName(QStringLiteral("Password"));
    Text1->setText(QStringLiteral("Text1"));

    Command1 = platform::control<QPushButton>(this, "Command1", QStringLiteral("Finish"),
                                              twipsRect(2700, 60, 975, 285));
    connect(Command1, &QPushButton::clicked, this, &PasswordDialog::Command1_Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &PasswordDialog::Timer1_Timer);

    m_replyWait = timing::oneShot(this, "ReplyWait");
    connect(m_replyWait, &QTimer::timeout, this, &PasswordDialog::noReply);

    Winsock1 = new QUdpSocket(this);
    Winsock1->setObjectName(QStringLiteral("Winsock1"));
    connect(Winsock1, &QUdpSocket::readyRead, this, &PasswordDialog::Winsock1_DataArrival);
}

PasswordDialog::~PasswordDialog() = default;

void PasswordDialog::Command1_Click() {
    if (!openSocket()) {
        m_dialogs.messageBox(QStringLiteral("There was an error! One reason could be that you "
                                            "tried to request access to your own server."),
                             QStringLiteral("Error"));
        return;
    }
    setWindowTitle(QStringLiteral("SWP: Pending.."));
    Timer1->start(timing::scaled(100));
    m_replyWait->start(timing::scaled(kReplyWaitMs));
}

// Fails while an exchange is still open, for an address that is no IP address, and when the
// local port is taken (by a game server on this machine, for one).
bool PasswordDialog::openSocket() {
    if (Winsock1->state() != QAbstractSocket::UnconnectedState)
        return false;
    QHostAddress server;
    if (!server.setAddress(IP))
        return false;
    const QHostAddress local = server.protocol() == QAbstractSocket::IPv6Protocol
                                   ? QHostAddress(QHostAddress::AnyIPv6)
                                   : QHostAddress(QHostAddress::AnyIPv4);
    // Not shared: a port that someone else holds must fail here rather than split the replies.
    if (!Winsock1->bind(local, m_localPort, QAbstractSocket::DontShareAddress))
        return false;
    m_server = server;
    return true;
}

void PasswordDialog::Timer1_Timer() {
    if (Winsock1->state() != QAbstractSocket::BoundState)
        return;
    Timer1->stop();
    // The password is read now, not when "Finish" was pressed.
    const std::optional<QByteArray> datagram =
        PasswordDatagram(platform::toWindows1252(Text1->text()));
    if (!datagram || Winsock1->writeDatagram(*datagram, m_server, m_serverPort) != datagram->size())
        noReply(); // nothing went out, so nothing will come back
}

void PasswordDialog::Winsock1_DataArrival() {
    while (Winsock1->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = Winsock1->receiveDatagram();
        const QHostAddress sender = datagram.senderAddress();
        switch (ReadPasswordReply(datagram.data(), sender, quint16(datagram.senderPort()), m_server,
                                  m_serverPort)) {
        case PasswordReply::Rejected:
            setWindowTitle(QStringLiteral("SWP: Rejected"));
            endExchange();
            return;
        case PasswordReply::Accepted:
            setWindowTitle(QStringLiteral("SWP: Accepted"));
            endExchange();
            ReportStartFailure(m_dialogs,
                               LaunchGame(m_starter, Version + QStringLiteral(" -connect ") +
                                                         addressText(sender)));
            close();
            return;
        case PasswordReply::Other:
            break;
        }
    }
}

void PasswordDialog::endExchange() {
    Timer1->stop();
    m_replyWait->stop();
    Winsock1->close();
}

// A lost datagram or a silent server: the exchange ends, so that "Finish" can start a new one.
void PasswordDialog::noReply() {
    endExchange();
    setWindowTitle(QStringLiteral("SWP: No Reply"));
}

void OpenPasswordDialog(PasswordDialogHost& host) {
    PasswordDialog& form9 = host.passwordDialog();
    form9.IP = host.privateServerAddress();
    // Without a selected row the version test counts as passed.
    const std::optional<QString> version = host.selectedServerVersion();
    const bool tsf = !version || *version == QStringLiteral("1.24");
    form9.Version = tsf ? host.tsfExecutable() : host.gameExecutable();
    form9.show();
    form9.raise();
    form9.activateWindow();
}
