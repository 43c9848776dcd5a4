#pragma once

#include "common/list_server.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

class ListingHost;
class ListingWindow;
class QTcpSocket;
class QTimer;

// The listing of a hosted game with the list server. The game stays listed for as long as one
// TCP connection to the list server's listing port stays open: once it is up, a chain of three
// one-shot timers (3, 2 and 1 seconds) builds the registration record and sends it five times,
// 50 ms apart. Closing the connection withdraws the listing. Whatever the list server sends back
// on it is read and dropped.
class Listing : public QObject {
    Q_OBJECT
public:
    explicit Listing(ListingHost& host, QString listServerHost = defaultListServerHost(),
                     quint16 listingPort = kListingPort, QObject* parent = nullptr);
    ~Listing() override;

    // Called by the serve page's "Finish" before the game starts: connects, and opens the
    // "Game Started" window. Does not wait for the connection.
    void StartListing();

    void Winsock1_Connect();
    void Timer1_Timer(); // the name and game type
    void Timer3_Timer();
    void Timer4_Timer();      // the first of the five records, while the window is open
    void RecordTimer_Timer(); // each further record

    // "Delist my server!": closes the connection and the window.
    void Delist();

    // The "Game Started" window; null while it is not loaded.
    ListingWindow* window() const;

    QTcpSocket* Winsock1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer3 = nullptr;
    QTimer* Timer4 = nullptr;
    QTimer* RecordTimer = nullptr;

    // The name the game is listed under (single-byte text) and its flags byte; set by the
    // connect event and the chain's first step, and kept until the next listing sets them.
    QByteArray ListName;
    std::optional<char> ListTypeByte;

    // How far apart the records go: the list server takes a listing only when its first read
    // holds exactly one record, so none may travel with the first.
    static constexpr int kRecordGapMs = 50;

private:
    bool windowOpen() const;
    void setCaption(const QString& caption);
    void stopChain();
    void checkConnection();
    void sendRecord();

    ListingHost& m_host;
    QString m_listServerHost;
    quint16 m_listingPort;
    QPointer<ListingWindow> m_form2;
    // A listing connection is wanted (from StartListing until Delist), so losing it is news.
    bool m_wanted = false;
    QByteArray m_record;
    int m_recordsSent = 0;
};
