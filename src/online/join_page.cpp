#include "online/join_page.h"

#include "platform/gui/place.h"
#include "common/twips.h"

#include "common/status_line.h"
#include "common/timing.h"
#include "online/join_page_host.h"
#include "online/server_info_window.h"
#include "online/server_table_view.h"
#include "platform/dialogs.h"
#include "platform/gui/accessible_names.h"
#include "platform/gui/check_value.h"
#include "protocol/server_table_model.h"

#include <QCheckBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTcpSocket>
#include <QTimer>

namespace {

using platform::control;
using platform::place;

const QString kRefresh = QStringLiteral("Refresh");
const QString kRetrieving = QStringLiteral("Retrieving");
const QString kPrivateMarker = QStringLiteral("%P");

} // namespace

JoinPage::JoinPage(JoinPageHost& host, QString listServerHost, quint16 listServerPort,
                   QWidget* parent)
    : QFrame(parent), m_host(host), m_listServerHost(std::move(listServerHost)),
      m_listServerPort(listServerPort) {
    setObjectName(QStringLiteral("Frame1"));

    m_table = new ServerTableModel(this);
    ListView1 = place<ServerTableView>(this, "ListView1", twipsRect(0, 0, 4480, 2415));
    ListView1->setModel(m_table);
    connect(ListView1, &ServerTableView::clickedAnywhere, this, &JoinPage::ShowSelectedServer);
    connect(ListView1, &ServerTableView::keyDown, this, &JoinPage::ShowSelectedServer);
    connect(ListView1, &ServerTableView::keyPressed, this, &JoinPage::ShowSelectedServer);
    connect(ListView1, &ServerTableView::keyUp, this, &JoinPage::ShowSelectedServer);
    connect(ListView1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { ListView1_ColumnClick(section + 1); });

    mnuRefreshSL =
        control<QPushButton>(this, "mnuRefreshSL", kRefresh, twipsRect(0, 2580, 1015, 375));
    connect(mnuRefreshSL, &QPushButton::clicked, this, &JoinPage::mnuRefreshSL_Click);

    mnuGetInfo = control<QPushButton>(this, "mnuGetInfo", QStringLiteral("Info"),
                                      twipsRect(0, 3060, 1015, 375));
    connect(mnuGetInfo, &QPushButton::clicked, this, &JoinPage::mnuGetInfo_Click);

    Label10 = control<QLabel>(this, "Label10", QStringLiteral("Ip Address"),
                              twipsRect(1200, 2640, 1695, 255));
    Text4 = control<QLineEdit>(this, "Text4", QStringLiteral("0.0.0.0"),
                               twipsRect(2280, 2640, 2175, 270));
    Text4->installEventFilter(this);
    platform::nameByLabel(Label10, Text4);

    TSCheck = control<QCheckBox>(this, "TSCheck", QStringLiteral("TSF"),
                                 twipsRect(1200, 3120, 3255, 255));

    Winsock2 = new QTcpSocket(this);
    Winsock2->setObjectName(QStringLiteral("Winsock2"));
    connect(Winsock2, &QTcpSocket::readyRead, this, &JoinPage::Winsock2_DataArrival);
    connect(Winsock2, &QTcpSocket::disconnected, this, &JoinPage::Winsock2_Close);
    connect(Winsock2, &QTcpSocket::errorOccurred, this, &JoinPage::Winsock2_Error);
    ReplyTimer = timing::oneShot(this, "ReplyTimer");
    connect(ReplyTimer, &QTimer::timeout, this, &JoinPage::ReplyTimer_Timer);

    Infotimer = timing::oneShot(this, "Infotimer");
    connect(Infotimer, &QTimer::timeout, this, &JoinPage::Infotimer_Timer);
}

// The connection still open closes as its socket goes, which must not reach the page any more.
JoinPage::~JoinPage() {
    Winsock2->disconnect(this);
}

void JoinPage::SetUpServerTable() {
    static const struct {
        const char* title;
        int width; // twips
    } columns[] = {{"Server Name", 2100},
                   {"Type", 800},
                   {"Version", 750},
                   {"Players", 750},
                   {"IP Address", 0}};
    for (int i = 0; i < ServerTableModel::kColumns; ++i) {
        m_table->setHeaderData(i, Qt::Horizontal, QString::fromLatin1(columns[i].title));
        ListView1->setColumnWidth(i, columns[i].width / 15);
        // The address column is there for its cells, not to be seen.
        ListView1->setColumnHidden(i, columns[i].width == 0);
    }
}

bool JoinPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text4 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        m_host.Text4_Click();
    return QFrame::eventFilter(watched, event);
}

// ---- the download ----------------------------------------------------------------------------

void JoinPage::ShowJoinPage() {
    mnuRefreshSL->setEnabled(false);
    mnuRefreshSL->setText(kRetrieving);
    m_host.hideChoiceOptions();
    show();
    mnuGetInfo->setEnabled(false);
    m_host.showJoinPicture();
    RefreshServerList();
}

void JoinPage::RefreshServerList() {
    m_host.status().setText(QStringLiteral("Status: Refreshing Server List"));
    m_table->clear();
    m_downloading = false;
    Winsock2->abort();
    m_reply.restart();
    m_downloading = true;
    ReplyTimer->start(timing::scaled(10000));
    // Nothing is ever sent: the list server answers a bare connection with its list.
    Winsock2->connectToHost(m_listServerHost, m_listServerPort);
}

void JoinPage::mnuRefreshSL_Click() {
    // Before the refresh: a connection that fails at once ends the download inside it, and the
    // button must then stay usable.
    mnuRefreshSL->setText(kRetrieving);
    mnuRefreshSL->setEnabled(false);
    RefreshServerList();
}

void JoinPage::Winsock2_DataArrival() {
    ReplyTimer->stop();
    // No more than has arrived: read() would set aside all the room (up to 16 MiB) every time.
    takeListData(Winsock2->read(qMin(Winsock2->bytesAvailable(), m_reply.room())));
    // A reply that has reached a limit is cut there; the rows so far stay.
    if (m_reply.cut()) {
        m_downloading = false;
        Winsock2->abort();
    }
}

// The list server has said all it has to say, however many rows that made (none, too).
void JoinPage::Winsock2_Close() {
    if (!m_downloading)
        return;
    if (Winsock2->bytesAvailable() > 0)
        Winsock2_DataArrival();
    if (m_downloading)
        endDownload(QStringLiteral("Status: List Loaded"));
}

void JoinPage::Winsock2_Error(QAbstractSocket::SocketError error) {
    // A close by the list server comes as an error too, followed by its own event.
    if (!m_downloading || error == QAbstractSocket::RemoteHostClosedError)
        return;
    // After data the status already tells what came; the failure only ends the download.
    if (!ReplyTimer->isActive()) {
        m_downloading = false;
        return;
    }
    endDownload(QStringLiteral("Status: List Server Unreachable"));
}

void JoinPage::ReplyTimer_Timer() {
    if (!m_downloading)
        return;
    endDownload(QStringLiteral("Status: List Server Unreachable"));
}

void JoinPage::endDownload(const QString& status) {
    m_downloading = false;
    ReplyTimer->stop();
    if (Winsock2->state() != QAbstractSocket::UnconnectedState)
        Winsock2->abort();
    m_host.status().setText(status);
    mnuRefreshSL->setText(kRefresh);
    mnuRefreshSL->setEnabled(true);
}

void JoinPage::takeListData(const QByteArray& read) {
    StatusLine& status = m_host.status();
    status.setText(QStringLiteral("Status: Receiving Data"));
    QByteArrayView lines = m_reply.take(read);
    status.setText(QStringLiteral("Status: Converting Data"));

    QByteArrayView line;
    bool analysing = false;
    while (NextListLine(lines, line)) {
        // Written for every line in turn; once shows the same, as nothing is drawn meanwhile.
        if (!analysing) {
            status.setText(QStringLiteral("Status: Analyzing List"));
            analysing = true;
        }
        m_table->addRow(ParseServerListLine(line));
    }
    m_table->showAddedRows();

    status.setText(m_reply.cut() ? QStringLiteral("Status: List Loaded (cut short)")
                                 : QStringLiteral("Status: List Loaded"));
    mnuRefreshSL->setText(kRefresh);
    mnuRefreshSL->setEnabled(true);
}

// ---- the table -------------------------------------------------------------------------------

int JoinPage::selectedRow() const {
    const QModelIndexList rows = ListView1->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void JoinPage::ShowSelectedServer() {
    // Without a selected row the steps that read it are skipped, and a test that reads it
    // counts as passed.
    const int row = selectedRow();
    const bool haveRow = row >= 0;
    const QString address = m_table->text(row, ServerTableModel::AddressColumn);
    const QString version = m_table->text(row, ServerTableModel::VersionColumn);

    if (haveRow)
        Text4->setText(address);

    if (Text4->text().endsWith(kPrivateMarker)) {
        Text5 = Text4->text().chopped(kPrivateMarker.size());
        Text4->setText(QStringLiteral("Private"));
    } else {
        Text5 = Text4->text();
        m_host.enableFinish();
    }
    if (haveRow)
        m_listAddress = Text5;

    if (!haveRow || version.isEmpty() || address.endsWith(kPrivateMarker))
        mnuGetInfo->setEnabled(false);
    else if (!address.isEmpty() && !Infotimer->isActive())
        mnuGetInfo->setEnabled(true);

    if (haveRow)
        SelVersion = version;

    if (SelVersion == QStringLiteral("1.24"))
        platform::setCheckValue(TSCheck, 1);
    if (SelVersion == QStringLiteral("1.21"))
        platform::setCheckValue(TSCheck, 0);
}

bool JoinPage::joinsUnsafeListAddress() const {
    // A private row is joined at the bare address that Text5 holds.
    const QString joined = Text4->text() == QStringLiteral("Private") ? Text5 : Text4->text();
    return m_listAddress && joined == *m_listAddress && !IsSafeListAddress(joined);
}

void JoinPage::ListView1_ColumnClick(int columnIndex) {
    const int sortKey = columnIndex - 1;
    Qt::SortOrder order = m_table->sortOrder();
    if (sortKey == LastSortKey)
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    // Sorting stays on from now on, so later rows take their sorted places.
    m_table->sort(sortKey, order);
    LastSortKey = sortKey;
}

// ---- the server information ------------------------------------------------------------------

ServerInfoWindow* JoinPage::serverInfoWindow() const {
    return m_form6;
}

void JoinPage::mnuGetInfo_Click() {
    OpenServerInfo();
}

void JoinPage::OpenServerInfo() {
    if (!m_form6)
        m_form6 = new ServerInfoWindow(m_host.gamePort(), this);
    m_form6->closeConnection();

    const int row = selectedRow();
    const QString address = m_table->text(row, ServerTableModel::AddressColumn);
    const QString title = QStringLiteral("Error");
    if (row < 0 || address.isEmpty()) {
        m_host.dialogs().messageBox(QStringLiteral("No server selected!"), title);
        return;
    }
    if (address.endsWith(kPrivateMarker)) {
        m_host.dialogs().messageBox(QStringLiteral("Server is Private!"), title);
        return;
    }

    m_form6->Text2 = address;
    m_form6->Text3 = m_table->text(row, ServerTableModel::VersionColumn);
    m_form6->show();
    m_form6->connectToServer();

    Infotimer->start(timing::scaled(5000));
    mnuGetInfo->setText(QStringLiteral("Wait"));
    mnuGetInfo->setEnabled(false);
}

void JoinPage::Infotimer_Timer() {
    mnuGetInfo->setEnabled(true);
    Infotimer->stop();
    mnuGetInfo->setText(QStringLiteral("Info"));
}
