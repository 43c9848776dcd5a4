#include "common/timing.h"
#include "online/password_dialog.h"
#include "support/test_environment.h"

#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

namespace {

constexpr int kWait = 5000; // ms; every wait is bounded

const QString kGame = QStringLiteral("/games/Jazz2 TSF/Jazz2+.exe");
const QString kErrorText = QStringLiteral(
    "There was an error! One reason could be that you tried to request access to your own server.");

QByteArray datagramFor(const QByteArray& password) {
    return *PasswordDatagram(password);
}

class PasswordDialogTest : public testing::Test {
protected:
    void SetUp() override { load(0); }
    void TearDown() override { delete m_form9; }

    void load(quint16 localPort, std::optional<quint16> serverPort = std::nullopt) {
        delete m_form9;
        m_form9 = new PasswordDialog(sandbox.dialogs(), &sandbox.starter(),
                                     serverPort.value_or(peer().port()), localPort);
        form9().IP = QStringLiteral("127.0.0.1");
        form9().Version = kGame;
        form9().show();
    }

    PasswordDialog& form9() { return *m_form9; }
    support::PasswordServerPeer& peer() { return sandbox.passwordServer(); }
    void finish() { QTest::mouseClick(form9().Command1, Qt::LeftButton); }
    QString caption() { return form9().windowTitle(); }

    // Waits until the server has had `count` datagrams.
    void waitForDatagrams(int count) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return peer().received().size() >= count; }, kWait))
            << peer().received().size() << " datagrams";
    }
    void waitForCaption(const QString& text) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_form9 || caption() == text; }, kWait))
            << caption().toStdString();
        ASSERT_TRUE(m_form9);
    }
    bool waitForUnload() {
        return QTest::qWaitFor([&] { return !m_form9; }, kWait);
    }
    // Sends bytes to the window's socket from 127.0.0.1 (or `from`), from a port other than the
    // server's.
    void sendFromElsewhere(const QByteArray& bytes,
                           const QHostAddress& from = QHostAddress(QHostAddress::LocalHost)) {
        QUdpSocket stranger;
        ASSERT_TRUE(stranger.bind(from, 0));
        ASSERT_EQ(stranger.writeDatagram(bytes, QHostAddress(QHostAddress::LocalHost),
                                         form9().Winsock1->localPort()),
                  bytes.size());
        QSignalSpy read(form9().Winsock1, &QUdpSocket::readyRead);
        ASSERT_TRUE(read.wait(kWait));
    }

    support::Sandbox sandbox;
    QPointer<PasswordDialog> m_form9;
};

TEST_F(PasswordDialogTest, AFreshWindow) {
    EXPECT_EQ(form9().objectName(), QStringLiteral("Form9"));
    EXPECT_EQ(caption(), QStringLiteral("Server Wants Password"));
    EXPECT_EQ(form9().Text1->text(), QStringLiteral("Text1"));
    EXPECT_EQ(form9().Text1->maxLength(), 14);
    EXPECT_EQ(form9().Text1->echoMode(), QLineEdit::Password);
    EXPECT_EQ(form9().Command1->text(), QStringLiteral("Finish"));
    EXPECT_FALSE(form9().Timer1->isActive());
}

TEST_F(PasswordDialogTest, AcceptedStartsTheGameAtTheServerWithoutSpySwitchAndUnloads) {
    peer().accept();
    QSignalSpy captions(m_form9.data(), &QWidget::windowTitleChanged);
    finish();
    EXPECT_EQ(caption(), QStringLiteral("SWP: Pending.."));
    EXPECT_TRUE(form9().Timer1->isActive());
    ASSERT_TRUE(waitForUnload());
    // The design text goes out when nobody clears it.
    EXPECT_EQ(peer().received(), QByteArrayList{datagramFor("Text1")});
    EXPECT_EQ(sandbox.starter().lines(),
              QStringList{kGame + QStringLiteral(" -connect 127.0.0.1")});
    ASSERT_EQ(captions.size(), 2);
    EXPECT_EQ(captions.at(1).at(0).toString(), QStringLiteral("SWP: Accepted"));
    EXPECT_TRUE(sandbox.dialogs().shown().empty());
}

TEST_F(PasswordDialogTest, ThePasswordIsReadWhenTheDatagramGoesOut) {
    finish();
    // Typed after "Finish", before the timer's tick: this is what is sent.
    form9().Text1->setText(QStringLiteral("\u00A7ecret\u00E9"));
    waitForDatagrams(1);
    EXPECT_EQ(peer().received(),
              QByteArrayList{datagramFor(QByteArray::fromHex("a7") + "ecret\xE9")});
    EXPECT_FALSE(form9().Timer1->isActive());
}

TEST_F(PasswordDialogTest, RejectedLeavesTheWindowForAnotherTry) {
    peer().reject();
    form9().Text1->setText(QStringLiteral("wrong"));
    finish();
    waitForCaption(QStringLiteral("SWP: Rejected"));
    EXPECT_TRUE(form9().isVisible());
    EXPECT_EQ(form9().Winsock1->state(), QAbstractSocket::UnconnectedState);
    EXPECT_TRUE(sandbox.starter().lines().isEmpty());

    peer().accept();
    form9().Text1->setText(QStringLiteral("right"));
    finish();
    EXPECT_EQ(caption(), QStringLiteral("SWP: Pending.."));
    ASSERT_TRUE(waitForUnload());
    EXPECT_EQ(peer().received(), (QByteArrayList{datagramFor("wrong"), datagramFor("right")}));
    EXPECT_EQ(sandbox.starter().lines().size(), 1);
}

TEST_F(PasswordDialogTest, TheServerTakesTheDatagramOfPasswordsOfEveryLength) {
    peer().reject(); // it answers only datagrams that pass its checksum
    const struct {
        const char* password;
        const char* datagram;
    } rows[] = {
        {"", "0b170a00"},
        {"xx", "02a00a02 7878"},
        {"QoaF", "7b040a04 516f6146"},
        {"abc", "39980a03 616263"},
        {"Jazz2 Password", "76d20a0e 4a617a7a32 2050617373776f7264"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.password);
        form9().Text1->setText(QString::fromLatin1(row.password));
        finish();
        waitForCaption(QStringLiteral("SWP: Rejected"));
        EXPECT_EQ(peer().received().last(), QByteArray::fromHex(row.datagram));
    }
}

TEST_F(PasswordDialogTest, RepliesThatAreNotExactlyOneOfTheTwoAreIgnored) {
    peer().answer({"", QByteArray::fromHex("0d1a0b"), QByteArray::fromHex("0d1a0b0100"),
                   QByteArray::fromHex("0c190b01"), QByteArray(2000, '\x0C')});
    finish();
    waitForDatagrams(1);
    EXPECT_FALSE(QTest::qWaitFor([&] { return caption() != QStringLiteral("SWP: Pending.."); },
                                 timing::scaled(1000)));
    EXPECT_TRUE(sandbox.starter().lines().isEmpty());

    // The same exchange still takes the real answer when it comes.
    ASSERT_TRUE(peer().send(support::PasswordServerPeer::kAccepted, form9().Winsock1->localPort()));
    EXPECT_TRUE(waitForUnload());
    EXPECT_EQ(sandbox.starter().lines().size(), 1);
}

TEST_F(PasswordDialogTest, AnAnswerFromAnyoneButTheServerIsIgnored) {
    finish();
    waitForDatagrams(1);
    const QByteArray accepted = support::PasswordServerPeer::kAccepted;
    sendFromElsewhere(accepted); // same host, another port
    QUdpSocket probe;
    if (probe.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0)) {
        probe.close();
        sendFromElsewhere(accepted, QHostAddress(QStringLiteral("127.0.0.2")));
    }
    EXPECT_EQ(caption(), QStringLiteral("SWP: Pending.."));
    EXPECT_TRUE(sandbox.starter().lines().isEmpty());
    EXPECT_TRUE(m_form9);
}

TEST_F(PasswordDialogTest, FinishWhileAnExchangeIsOpenFailsAndTheExchangeGoesOn) {
    finish();
    waitForDatagrams(1);
    finish();
    EXPECT_EQ(sandbox.dialogs().messages(), QStringList{kErrorText});
    EXPECT_EQ(sandbox.dialogs().shown().back().title, QStringLiteral("Error"));
    EXPECT_EQ(caption(), QStringLiteral("SWP: Pending.."));

    // Still listening: a late answer to the first datagram is taken.
    ASSERT_TRUE(peer().send(support::PasswordServerPeer::kAccepted, form9().Winsock1->localPort()));
    EXPECT_TRUE(waitForUnload());
    EXPECT_EQ(peer().received().size(), 1); // no second datagram went out
}

TEST_F(PasswordDialogTest, FinishFailsWhenTheSocketCannotBeOpened) {
    struct Row {
        const char* why;
        const char* address;
        bool portTaken;
    };
    const Row rows[] = {
        {"the local port is taken", "127.0.0.1", true},
        {"the design text is no address", "Text2", false},
        {"an empty address", "", false},
        {"a host with a port", "127.0.0.1:10052", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        sandbox.dialogs().clear();
        QUdpSocket holder;
        ASSERT_TRUE(holder.bind(QHostAddress::LocalHost, 0));
        load(row.portTaken ? holder.localPort() : 0);
        form9().IP = QString::fromLatin1(row.address);
        finish();
        EXPECT_EQ(sandbox.dialogs().messages(), QStringList{kErrorText});
        EXPECT_EQ(caption(), QStringLiteral("Server Wants Password"));
        EXPECT_FALSE(form9().Timer1->isActive());
        EXPECT_EQ(form9().Winsock1->state(), QAbstractSocket::UnconnectedState);
    }
    EXPECT_TRUE(peer().received().isEmpty());
}

TEST_F(PasswordDialogTest, ASilentServerEndsTheExchangeSoThatFinishWorksAgain) {
    finish();
    waitForDatagrams(1);
    waitForCaption(QStringLiteral("SWP: No Reply"));
    EXPECT_EQ(form9().Winsock1->state(), QAbstractSocket::UnconnectedState);
    EXPECT_TRUE(sandbox.dialogs().shown().empty());

    peer().reject();
    finish();
    waitForCaption(QStringLiteral("SWP: Rejected"));
    EXPECT_EQ(peer().received().size(), 2);
}

TEST_F(PasswordDialogTest, ADatagramThatCannotBeSentEndsTheExchange) {
    // Nothing can be sent to port 0: the send itself fails, and no reply is waited for.
    load(0, 0);
    finish();
    EXPECT_EQ(caption(), QStringLiteral("SWP: Pending.."));
    // Well before the reply wait would have ended.
    EXPECT_TRUE(QTest::qWaitFor([&] { return caption() == QStringLiteral("SWP: No Reply"); },
                                timing::scaled(PasswordDialog::kReplyWaitMs) / 2));
    EXPECT_EQ(form9().Winsock1->state(), QAbstractSocket::UnconnectedState);
    EXPECT_FALSE(form9().Timer1->isActive());
}

TEST_F(PasswordDialogTest, AFailedStartAfterAcceptanceSaysWhy) {
    sandbox.starter().setResult(false);
    form9().Version = QString();
    peer().accept();
    finish();
    ASSERT_TRUE(waitForUnload());
    EXPECT_EQ(sandbox.starter().lines(), QStringList{QStringLiteral(" -connect 127.0.0.1")});
    EXPECT_EQ(
        sandbox.dialogs().messages(),
        QStringList{QStringLiteral("Could not find a program to start in:  -connect 127.0.0.1")});
}

} // namespace
