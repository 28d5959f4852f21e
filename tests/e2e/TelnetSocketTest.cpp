#include "links/LinkOwner.h"
#include "links/TelnetSocket.h"
#include "platform/AsyncSocket.h"
#include "platform/RefreshPacing.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace quendra;

namespace {

struct TelnetCall {
    std::u16string text;
    int length;
};

class TelnetRecorder : public LinkOwner {
public:
    void RouteTelnetText(std::u16string_view text, int length) override { calls.push_back({std::u16string(text), length}); }
    void RouteMonitorText(std::u16string_view, int, int, int, int) override { ++monitorCalls; }

    std::u16string received() const {
        std::u16string all;
        for (const auto& call : calls)
            if (call.text != u"***Connected. \r\n" && call.text != u"***Disconnected. \r\n")
                all += call.text;
        return all;
    }
    std::vector<TelnetCall> calls;
    int monitorCalls = 0;
};

// Counts every notification and reads a fixed amount per receive notification.
class ProbeSocket : public AsyncSocket {
public:
    explicit ProbeSocket(int readSize) : readSize_(readSize) {}
    std::vector<int> connectErrors;
    std::vector<int> readSizes;
    QByteArray bytes;
    int closes = 0;
    int bytesAtClose = -1;

protected:
    void OnConnect(int error) override { connectErrors.push_back(error); }
    void OnReceive(int) override {
        std::vector<char> buffer(static_cast<std::size_t>(readSize_));
        const int count = Receive(buffer.data(), readSize_);
        if (count > 0) {
            readSizes.push_back(count);
            bytes.append(buffer.data(), count);
        }
    }
    void OnClose(int) override {
        ++closes;
        bytesAtClose = static_cast<int>(bytes.size());
    }

private:
    int readSize_;
};

// A handler that waits in a nested event loop on its first notification, as one showing a
// message box would, and notes whether a notification ever arrives while another runs.
class WaitingSocket : public ProbeSocket {
public:
    using ProbeSocket::ProbeSocket;
    std::function<void()> whileWaiting;
    bool reentered = false;

protected:
    void OnReceive(int error) override {
        reentered = reentered || inside_;
        inside_ = true;
        ProbeSocket::OnReceive(error);
        if (std::exchange(firstRead_, false)) {
            whileWaiting();
            QEventLoop nested;
            QTimer::singleShot(200, &nested, &QEventLoop::quit);
            nested.exec();
        }
        inside_ = false;
    }

private:
    bool inside_ = false;
    bool firstRead_ = true;
};

// A one-connection peer on the loopback address.
class LoopbackPeer {
public:
    LoopbackPeer() { QVERIFY(server.listen(QHostAddress::LocalHost)); }
    quint16 port() const { return server.serverPort(); }
    QTcpSocket* accept() {
        if (!server.hasPendingConnections() && !server.waitForNewConnection(5000))
            return nullptr;
        return server.nextPendingConnection();
    }
    QTcpServer server;
};

// Connects the probe to the peer; the peer's end once the probe has heard the attempt succeed,
// null otherwise.
std::unique_ptr<QTcpSocket> connectProbe(ProbeSocket& probe, LoopbackPeer& peer) {
    probe.Create();
    probe.Connect(QStringLiteral("127.0.0.1"), peer.port());
    std::unique_ptr<QTcpSocket> remote(peer.accept());
    if (!remote || !QTest::qWaitFor([&probe] { return probe.connectErrors == std::vector<int>{0}; }))
        return nullptr;
    return remote;
}

// A telnet link with a recorder, connected to a loopback peer.
struct TelnetSession {
    TelnetSession() {
        link.setMainWindow(&owner);
        link.Create();
        link.ConnectTo(QStringLiteral("127.0.0.1"), peer.port());
        remote.reset(peer.accept());
    }
    bool ready() { return remote && QTest::qWaitFor([this] { return link.connected() == 1; }); }

    LoopbackPeer peer;
    TelnetRecorder owner;
    TelnetSocket link;
    std::unique_ptr<QTcpSocket> remote;
};

quint16 portWithNoListener() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();  // free again once the server is gone
}

void settle() {
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
}

QByteArray pattern(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('a' + i % 26);
    return bytes;
}

}  // namespace

class TelnetSocketLinkTest : public QObject {
    Q_OBJECT

private slots:
    void failedConnectGivesOneErrorNotification_data();
    void failedConnectGivesOneErrorNotification();
    void portOutOfRangeNeverReachesAnotherPort_data();
    void portOutOfRangeNeverReachesAnotherPort();
    void peerCloseDeliversAllDataThenOneClose();
    void shutdownSendLetsThePeerSeeTheEnd();
    void replacedSocketGetsNoNotifications();
    void burstArrivesInReadsOfAtMostThousand();
    void handlerWaitingInANestedLoopIsNotReentered();
    void trickledPiecesAreReadAboutOnceAFrame();
    void statusLinesFrameTheSession();
    void failedConnectIsSilent();
    void nulBytesAreDroppedAndTheCountKeepsThem();
    void negotiationBytesAreShownAsCharacters();
    void destructionEndsTheSession();
};

void TelnetSocketLinkTest::failedConnectGivesOneErrorNotification_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    const QString loopback = QStringLiteral("127.0.0.1");
    QTest::newRow("refused") << loopback << int{portWithNoListener()};
    QTest::newRow("unresolvable name") << QStringLiteral("no..such..host") << int{portWithNoListener()};
    // A port no TCP address has fails like any other attempt instead of never being tried.
    QTest::newRow("port 0") << loopback << 0;
    QTest::newRow("port 65536") << loopback << 65536;
    QTest::newRow("negative port") << loopback << -1;
    QTest::newRow("port 0 with a name") << QStringLiteral("localhost") << 0;
}

void TelnetSocketLinkTest::failedConnectGivesOneErrorNotification() {
    QFETCH(QString, host);
    QFETCH(int, port);
    ProbeSocket probe(100);
    probe.Create();
    probe.Connect(host, port);
    QVERIFY(probe.connectErrors.empty());  // never from inside the call
    QTRY_COMPARE(probe.connectErrors.size(), std::size_t{1});
    QVERIFY(probe.connectErrors[0] != 0);
    settle();
    QCOMPARE(probe.connectErrors.size(), std::size_t{1});
    QCOMPARE(probe.closes, 0);
}

void TelnetSocketLinkTest::portOutOfRangeNeverReachesAnotherPort_data() {
    QTest::addColumn<int>("offset");
    QTest::newRow("65536 above") << 65536;
    QTest::newRow("65536 below") << -65536;
}

void TelnetSocketLinkTest::portOutOfRangeNeverReachesAnotherPort() {
    QFETCH(int, offset);
    LoopbackPeer peer;
    ProbeSocket probe(100);
    probe.Create();
    probe.Connect(QStringLiteral("127.0.0.1"), peer.port() + offset);
    QVERIFY(probe.connectErrors.empty());
    QTRY_COMPARE(probe.connectErrors.size(), std::size_t{1});
    QVERIFY(probe.connectErrors[0] != 0);
    settle();
    QVERIFY(!peer.server.hasPendingConnections());
    QCOMPARE(probe.connectErrors.size(), std::size_t{1});
}

void TelnetSocketLinkTest::peerCloseDeliversAllDataThenOneClose() {
    LoopbackPeer peer;
    ProbeSocket probe(100);
    std::unique_ptr<QTcpSocket> remote = connectProbe(probe, peer);
    QVERIFY(remote);
    const QByteArray sent = pattern(3000);
    remote->write(sent);
    remote->disconnectFromHost();
    QTRY_COMPARE(probe.closes, 1);
    QCOMPARE(probe.bytesAtClose, 3000);
    QCOMPARE(probe.bytes, sent);
    settle();
    QCOMPARE(probe.closes, 1);
}

void TelnetSocketLinkTest::shutdownSendLetsThePeerSeeTheEnd() {
    LoopbackPeer peer;
    ProbeSocket probe(100);
    std::unique_ptr<QTcpSocket> remote = connectProbe(probe, peer);
    QVERIFY(remote);
    const QByteArray line = pattern(200000);  // more than one write can take at once
    QCOMPARE(probe.Send(line.constData(), static_cast<int>(line.size())), static_cast<int>(line.size()));
    probe.ShutdownSend();
    QByteArray seen;
    QSignalSpy ended(remote.get(), &QTcpSocket::readChannelFinished);
    connect(remote.get(), &QTcpSocket::readyRead, this, [&] { seen += remote->readAll(); });
    QTRY_COMPARE(ended.size(), 1);
    seen += remote->readAll();
    QCOMPARE(seen, line);

    // Sending after the shutdown fails at once: handed to Qt, it would abort the connection and
    // lose whatever the peer still sends before it closes.
    QCOMPARE(probe.Send("late\r\n", 6), -1);
}

void TelnetSocketLinkTest::replacedSocketGetsNoNotifications() {
    LoopbackPeer peer;
    ProbeSocket probe(100);
    probe.Create();
    probe.Connect(QStringLiteral("127.0.0.1"), peer.port());
    std::unique_ptr<QTcpSocket> first(peer.accept());
    QVERIFY(first);
    QTRY_COMPARE(probe.connectErrors, std::vector<int>{0});
    first->write("old");
    first->flush();
    probe.Create();  // replaces the connected socket before its bytes are read
    probe.Connect(QStringLiteral("127.0.0.1"), peer.port());
    std::unique_ptr<QTcpSocket> second(peer.accept());
    QVERIFY(second);
    QTRY_COMPARE(probe.connectErrors, (std::vector<int>{0, 0}));
    second->write("new");
    QTRY_COMPARE(probe.bytes, QByteArray("new"));
    QTRY_COMPARE(first->state(), QAbstractSocket::UnconnectedState);
    settle();
    QCOMPARE(probe.closes, 0);
    QCOMPARE(probe.bytes, QByteArray("new"));
}

void TelnetSocketLinkTest::burstArrivesInReadsOfAtMostThousand() {
    TelnetSession session;
    QVERIFY(session.ready());
    TelnetRecorder& owner = session.owner;
    auto& remote = session.remote;
    const QByteArray burst = pattern(2500);
    remote->write(burst);
    QTRY_COMPARE(owner.received().size(), std::size_t{2500});
    QCOMPARE(QString::fromStdU16String(owner.received()), QString::fromLatin1(burst));
    int reads = 0;
    for (const auto& call : owner.calls) {
        if (call.text == u"***Connected. \r\n")
            continue;
        ++reads;
        QVERIFY(call.length <= 1000);
        QCOMPARE(static_cast<std::size_t>(call.length), call.text.size());
    }
    QVERIFY(reads >= 3);
}

void TelnetSocketLinkTest::handlerWaitingInANestedLoopIsNotReentered() {
    LoopbackPeer peer;
    WaitingSocket probe(4);
    std::unique_ptr<QTcpSocket> remote = connectProbe(probe, peer);
    QVERIFY(remote);
    // More bytes arrive while the first handler waits; they are offered after it returns.
    probe.whileWaiting = [&remote] {
        remote->write("efghijkl");
        remote->flush();
    };
    remote->write("abcd");
    QTRY_COMPARE(probe.bytes, QByteArray("abcdefghijkl"));
    QVERIFY(!probe.reentered);
    QCOMPARE(probe.readSizes, (std::vector<int>{4, 4, 4}));
}

// A node trickling its text in small pieces wakes the program about once a refresh, not once a
// piece, and nothing is lost, reordered or kept back: a piece after a quiet spell comes at once.
void TelnetSocketLinkTest::trickledPiecesAreReadAboutOnceAFrame() {
    LoopbackPeer peer;
    ProbeSocket probe(4096);
    std::unique_ptr<QTcpSocket> remote = connectProbe(probe, peer);
    QVERIFY(remote);
    const QByteArray text = pattern(40 * 7);
    for (int piece = 0; piece < 40; ++piece) {
        remote->write(text.mid(piece * 7, 7));
        remote->flush();
        QTest::qWait(5);
    }
    QTRY_COMPARE(probe.bytes, text);
    QVERIFY2(probe.readSizes.size() <= 12, qPrintable(QString::number(probe.readSizes.size())));

    QTest::qWait(2 * quendra::refresh_pacing::kFrameMs);  // a quiet spell
    QElapsedTimer sinceSent;
    sinceSent.start();
    remote->write("!");
    remote->flush();
    QTRY_COMPARE(probe.bytes.size(), text.size() + 1);
    QVERIFY(sinceSent.elapsed() < quendra::refresh_pacing::kFrameMs);

    remote->write("end");
    remote->disconnectFromHost();
    QTRY_COMPARE(probe.closes, 1);
    QCOMPARE(probe.bytes, text + "!end");
}

void TelnetSocketLinkTest::statusLinesFrameTheSession() {
    LoopbackPeer peer;
    TelnetRecorder owner;
    TelnetSocket link;
    link.setMainWindow(&owner);
    for (int session = 0; session < 2; ++session) {  // a fresh connect works after the node left
        owner.calls.clear();
        link.Create();
        link.ConnectTo(QStringLiteral("127.0.0.1"), peer.port());
        QTcpSocket* remote = peer.accept();
        QVERIFY(remote);
        QTRY_COMPARE(link.connected(), 1);
        remote->write("login: ");
        remote->disconnectFromHost();
        QTRY_COMPARE(link.connected(), 0);
        QCOMPARE(owner.calls.size(), std::size_t{3});
        QVERIFY(owner.calls[0].text == u"***Connected. \r\n" && owner.calls[0].length == 16);
        QVERIFY(owner.calls[1].text == u"login: " && owner.calls[1].length == 7);
        QVERIFY(owner.calls[2].text == u"***Disconnected. \r\n" && owner.calls[2].length == 19);
        QVERIFY(!link.isOpen());
        delete remote;
    }
}

void TelnetSocketLinkTest::failedConnectIsSilent() {
    TelnetRecorder owner;
    TelnetSocket link;
    link.setMainWindow(&owner);
    link.Create();
    link.ConnectTo(QStringLiteral("127.0.0.1"), portWithNoListener());
    QTRY_VERIFY(!link.isOpen());
    QCOMPARE(link.connected(), 0);
    QVERIFY(owner.calls.empty());
}

void TelnetSocketLinkTest::nulBytesAreDroppedAndTheCountKeepsThem() {
    TelnetSession session;
    QVERIFY(session.ready());
    TelnetRecorder& owner = session.owner;
    auto& remote = session.remote;
    remote->write(QByteArray("DX de\0 kept\r\0\nnext", 18));
    QTRY_COMPARE(owner.calls.size(), std::size_t{2});
    QVERIFY(owner.calls[1].text == u"DX de kept\r\nnext");
    QCOMPARE(owner.calls[1].length, 18);
}

void TelnetSocketLinkTest::negotiationBytesAreShownAsCharacters() {
    TelnetSession session;
    QVERIFY(session.ready());
    TelnetRecorder& owner = session.owner;
    auto& remote = session.remote;
    remote->write(QByteArray("\xff\xfb\x01\x80login", 9));
    QTRY_COMPARE(owner.calls.size(), std::size_t{2});
    QVERIFY(owner.calls[1].text == u"\u00ff\u00fb\u0001\u20aclogin");
    QCOMPARE(remote->bytesAvailable(), 0);  // nothing was answered
}

void TelnetSocketLinkTest::destructionEndsTheSession() {
    LoopbackPeer peer;
    auto link = std::make_unique<TelnetSocket>();
    link->Create();
    link->ConnectTo(QStringLiteral("127.0.0.1"), peer.port());
    std::unique_ptr<QTcpSocket> remote(peer.accept());
    QVERIFY(remote);
    QTRY_COMPARE(link->connected(), 1);
    remote->write(pattern(300));
    remote->flush();
    QTRY_VERIFY(remote->bytesToWrite() == 0);
    const QByteArray line = pattern(100000);  // sent right before the end
    link->Send(line.constData(), static_cast<int>(line.size()));
    link.reset();
    QByteArray seen;
    connect(remote.get(), &QTcpSocket::readyRead, this, [&] { seen += remote->readAll(); });
    QTRY_COMPARE(remote->state(), QAbstractSocket::UnconnectedState);
    seen += remote->readAll();
    QCOMPARE(seen.size(), line.size());
    QCOMPARE(remote->error(), QAbstractSocket::RemoteHostClosedError);
}

QTEST_MAIN(TelnetSocketLinkTest)
#include "TelnetSocketTest.moc"
