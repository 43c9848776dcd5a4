#pragma once

#include "common/list_server.h"
#include "protocol/server_list_parser.h"

#include <QAbstractSocket>
#include <QFrame>
#include <QPointer>
#include <QString>
#include <optional>

class JoinPageHost;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTcpSocket;
class QTimer;
class ServerInfoWindow;
class ServerTableModel;
class ServerTableView;

// The join page (Frame1): the public server list and the address to join.
//
// "Refresh" and opening the page download the list anew: the table is emptied and a TCP
// connection goes to the list server, on which nothing is ever sent; every data event turns its
// complete lines into rows. Every download ends: when the list server closes the connection, when
// the connection fails, when no data has come within 10 s, or when the reply reaches its size or
// line limit. Picking a row puts its address into Text4/Text5 for the wizard's "Finish".
class JoinPage : public QFrame {
    Q_OBJECT
public:
    JoinPage(JoinPageHost& host, QString listServerHost = defaultListServerHost(),
             quint16 listServerPort = kServerListPort, QWidget* parent = nullptr);
    ~JoinPage() override;

    // Report view with the list's five columns; run once by the main window's load.
    void SetUpServerTable();

    void ShowJoinPage();
    void RefreshServerList();
    void mnuRefreshSL_Click();
    void Winsock2_DataArrival();
    void Winsock2_Close();
    void Winsock2_Error(QAbstractSocket::SocketError error);
    void ReplyTimer_Timer(); // no data within 10 s of the refresh
    void ShowSelectedServer();
    void ListView1_ColumnClick(int columnIndex); // 1 "Server Name" .. 5 "IP Address"

    // "Info": queries the selected server for its level and players, and locks the button.
    void mnuGetInfo_Click();
    void OpenServerInfo();
    void Infotimer_Timer();
    // The "Server Information" window; null while it is not loaded.
    ServerInfoWindow* serverInfoWindow() const;

    // One data event's text, as Winsock2_DataArrival reads it off the connection.
    void takeListData(const QByteArray& read);

    ServerTableModel& serverTable() { return *m_table; }
    // The selected row of ListView1, or -1 when none is selected.
    int selectedRow() const;

    // Whether "Finish" would join an address as the list server sent it (the one the last
    // selection put into the boxes, unedited) that cannot go on the command line as one argument.
    bool joinsUnsafeListAddress() const;

    ServerTableView* ListView1 = nullptr;
    QPushButton* mnuRefreshSL = nullptr;
    QPushButton* mnuGetInfo = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* Text4 = nullptr;   // address to join, or "Private"
    QCheckBox* TSCheck = nullptr; // ticked: join with the 1.24 build
    QString Text5 = QStringLiteral("Text5"); // the bare address of the selected row

    QTcpSocket* Winsock2 = nullptr; // the list connection
    QTimer* Infotimer = nullptr;    // the "Info" button's lock; stopped unless armed
    QTimer* ReplyTimer = nullptr;   // runs from a refresh until the first data

    int LastSortKey = 0; // the sort key of the last column click
    QString SelVersion;  // the version of the row selected last

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void endDownload(const QString& status);

    JoinPageHost& m_host;
    QString m_listServerHost;
    quint16 m_listServerPort;
    ServerTableModel* m_table = nullptr;
    ServerListReply m_reply;
    // From the connect of a refresh until its download has ended; the end of a connection that
    // a refresh replaced is no news.
    bool m_downloading = false;
    std::optional<QString> m_listAddress;
    QPointer<ServerInfoWindow> m_form6;
};
