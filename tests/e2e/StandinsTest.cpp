// The stand-in engine and cluster node, run as real programs and spoken to over loopback sockets.

#include "links/FrameHeader.h"
#include "support/FrameBytes.h"
#include "support/StandinServer.h"

#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryFile>
#include <QTest>

#include <csignal>
#include <set>

#include <sys/types.h>

using quendra::FrameHeader;
using quendra::testing::frameBytes;
using HeaderBytes = std::span<const std::uint8_t, FrameHeader::kSize>;

namespace {

constexpr int kWaitMs = StandinServer::kWaitMs;
using Server = StandinServer;
const QString kEngine = QStringLiteral("quendra_engine_standin");
const QString kNode = QStringLiteral("quendra_node_standin");

QStringList words(const char* text) { return QString::fromLatin1(text).split(QLatin1Char(' ')); }

struct Frame {
    FrameHeader header;
    QByteArray data;
    QByteArray headerLine() const { return data.left(data.indexOf('\r')); }
};

// Collects everything a socket receives, read by read, and cuts engine frames from it.
class Receiver {
public:
    explicit Receiver(QTcpSocket& socket) {
        QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [this, &socket] {
            const QByteArray bytes = socket.readAll();
            reads.push_back(bytes);
            stream += bytes;
        });
    }

    std::vector<Frame> frames() const {
        std::vector<Frame> found;
        qsizetype at = 0;
        while (stream.size() - at >= static_cast<qsizetype>(FrameHeader::kSize)) {
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(stream.constData() + at);
            Frame frame{FrameHeader::decode(HeaderBytes(bytes, FrameHeader::kSize)), {}};
            if (stream.size() - at - FrameHeader::kSize < frame.header.dataLength)
                break;
            frame.data = stream.mid(at + FrameHeader::kSize, frame.header.dataLength);
            at += FrameHeader::kSize + frame.header.dataLength;
            found.push_back(frame);
        }
        return found;
    }

    QList<QByteArray> lines() const { return stream.split('\n'); }

    std::vector<QByteArray> reads;
    QByteArray stream;
};

// What the program reads from a monitored frame: "Fm" at characters 3 and 4, the sender as the
// second word, a clock stamp, and a Len that counts the data after the header line.
void verifyMonitorText(const Frame& frame) {
    const QByteArray header = frame.headerLine();
    static const QRegularExpression form(
        QStringLiteral("^ ?(\\d{1,2}):Fm (\\S+) To (\\S+) <([^>]*)>\\[\\d\\d:\\d\\d:\\d\\d\\]$"));
    const auto match = form.match(QString::fromLatin1(header));
    QVERIFY2(match.hasMatch(), header.constData());
    QCOMPARE(header.mid(3, 2), QByteArray("Fm"));
    QCOMPARE(match.captured(1).toUInt(), frame.header.port + 1);
    QCOMPARE(match.captured(2).toStdString(), std::string(frame.header.fromCall.data()));
    QVERIFY(frame.data.endsWith('\r') || frame.data.endsWith('\n'));
    const auto length = QRegularExpression(QStringLiteral("Len=(\\d+)")).match(match.captured(4));
    if (length.hasMatch())
        QCOMPARE(length.captured(1).toLongLong(), frame.data.size() - header.size() - 1);
}

bool isColumnSpot(const QByteArray& line) { return line.startsWith("DX de "); }

bool isTimedSpot(const QByteArray& line) {
    static const QRegularExpression form(QStringLiteral("^\\d{4}Z DX de [A-Z0-9/-]+: \\d+\\.\\d [A-Z0-9/]+"));
    return form.match(QString::fromLatin1(line)).hasMatch();
}

QString writeTempFile(QTemporaryFile& file, const QByteArray& contents) {
    file.open();
    file.write(contents);
    file.close();
    return file.fileName();
}

}  // namespace

class StandinsTest : public QObject {
    Q_OBJECT

private slots:
    void serversStartAndStopCleanly_data();
    void serversStartAndStopCleanly();
    void serversDropClientThatStopsReading_data();
    void serversDropClientThatStopsReading();
    void engineAnswersPortRequest_data();
    void engineAnswersPortRequest();
    void engineMonitorsOnlyAfterRequest_data();
    void engineMonitorsOnlyAfterRequest();
    void engineReadsFramesFile();
    void engineShowsSentFramesToAllMonitors();
    void engineDropsOversizedFrame();
    void engineCutOutputReassembles_data();
    void engineCutOutputReassembles();
    void nodeLoginEchoAndBye();
    void nodeColumnSpotsKeepTheirColumns();
    void nodeTrafficMixAndFileLines();
    void nodeSplitAndBurstWrites_data();
    void nodeSplitAndBurstWrites();
};

void StandinsTest::serversStartAndStopCleanly_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<int>("signal");
    QTest::newRow("engine, SIGTERM") << kEngine << SIGTERM;
    QTest::newRow("node, SIGINT") << kNode << SIGINT;
}

void StandinsTest::serversStartAndStopCleanly() {
    QFETCH(QString, program);
    QFETCH(int, signal);
    QProcess help;
    help.start(QStringLiteral(QUENDRA_TOOLS_DIR "/") + program, {QStringLiteral("--help")});
    QVERIFY(help.waitForFinished(kWaitMs));
    QCOMPARE(help.exitCode(), 0);
    QVERIFY(help.readAllStandardOutput().contains("--port"));

    Server server;
    QVERIFY(server.start(program, {}));
    QTcpSocket socket;
    QVERIFY(server.connect(socket));
    ::kill(static_cast<pid_t>(server.process().processId()), signal);
    QVERIFY(server.process().waitForFinished(kWaitMs));
    QCOMPARE(server.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(server.process().exitCode(), 0);
}

void StandinsTest::serversDropClientThatStopsReading_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("engine") << kEngine << frameBytes({'m'});
    QTest::newRow("node") << kNode << QByteArray("ZZ9ZZ\r\n");
}

void StandinsTest::serversDropClientThatStopsReading() {
    QFETCH(QString, program);
    QFETCH(QByteArray, start);
    Server server;
    QVERIFY(server.start(program, words("--rate 200000")));
    QTcpSocket socket;
    socket.setReadBufferSize(4096);
    QVERIFY(server.connect(socket));
    socket.write(start);
    QByteArray errors;
    QTRY_VERIFY_WITH_TIMEOUT((errors += server.process().readAllStandardError()).contains("dropped client"),
                             6 * kWaitMs);
    socket.setReadBufferSize(0);
    QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QAbstractSocket::UnconnectedState, 2 * kWaitMs);
    QCOMPARE(server.process().state(), QProcess::Running);
}

void StandinsTest::engineAnswersPortRequest_data() {
    QTest::addColumn<int>("ports");
    QTest::newRow("one") << 1;
    QTest::newRow("default two") << 2;
    QTest::newRow("twelve") << 12;
}

void StandinsTest::engineAnswersPortRequest() {
    QFETCH(int, ports);
    Server engine;
    QVERIFY(engine.start(kEngine, {QStringLiteral("--ports"), QString::number(ports)}));
    QTcpSocket socket;
    Receiver received(socket);
    QVERIFY(engine.connect(socket));
    socket.write(frameBytes({'H'}) + frameBytes({'G'}));
    QTRY_COMPARE_WITH_TIMEOUT(received.frames().size(), std::size_t{1}, kWaitMs);
    const Frame reply = received.frames().front();
    QVERIFY(reply.header.isKind('G'));
    const QList<QByteArray> fields = reply.data.split(';');
    QCOMPARE(fields.size(), ports + 1);
    QCOMPARE(fields.front().toInt(), ports);
    QVERIFY(fields.back().contains("MHz"));
}

void StandinsTest::engineMonitorsOnlyAfterRequest_data() {
    QTest::addColumn<QStringList>("pace");
    QTest::newRow("steady rate") << words("--rate 100");
    QTest::newRow("as fast as drained") << words("--max-rate");
}

void StandinsTest::engineMonitorsOnlyAfterRequest() {
    QFETCH(QStringList, pace);
    Server engine;
    QVERIFY(engine.start(kEngine, pace + words("--count 40")));
    QTcpSocket socket;
    Receiver received(socket);
    QVERIFY(engine.connect(socket));
    QTest::qWait(200);
    QVERIFY(received.stream.isEmpty());

    socket.write(frameBytes({'m'}));
    QTRY_COMPARE_WITH_TIMEOUT(received.frames().size(), std::size_t{40}, kWaitMs);
    std::set<char> kinds;
    int spotLines = 0;
    for (const Frame& frame : received.frames()) {
        kinds.insert(static_cast<char>(frame.header.kind));
        verifyMonitorText(frame);
        for (const QByteArray& line : frame.data.split('\r'))
            spotLines += isColumnSpot(line) || isTimedSpot(line);
    }
    QVERIFY(kinds.count('I') && kinds.count('U'));
    QVERIFY(kinds.size() <= 3 && !kinds.count('T'));
    QVERIFY(spotLines >= 10);
}

void StandinsTest::engineReadsFramesFile() {
    QTemporaryFile file;
    const QString path = writeTempFile(file,
        "# two frames\n\n"
        " 2:Fm ZZ1AB To DX <UI pid=F0 Len=0 >[12:34:56]\n"
        "DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z\n"
        "second line\n\n"
        " 1:Fm ZZ3EF To ZZ4GH <RR R3 >[12:34:57]\n");
    Server engine;
    QVERIFY(engine.start(kEngine, words("--rate 100 --count 3 --frames") << path));
    QTcpSocket socket;
    Receiver received(socket);
    QVERIFY(engine.connect(socket));
    socket.write(frameBytes({'m'}));
    QTRY_COMPARE_WITH_TIMEOUT(received.frames().size(), std::size_t{3}, kWaitMs);
    const auto frames = received.frames();
    QCOMPARE(frames[0].data, QByteArray(" 2:Fm ZZ1AB To DX <UI pid=F0 Len=88 >[12:34:56]\r"
                                        "DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z\r"
                                        "second line\r"));
    QCOMPARE(frames[0].header.port, 1u);
    QVERIFY(frames[0].header.isKind('U'));
    QVERIFY(frames[1].header.isKind('S'));
    QCOMPARE(frames[1].header.port, 0u);
    QCOMPARE(frames[2].data, frames[0].data);
    for (const Frame& frame : frames)
        verifyMonitorText(frame);
}

void StandinsTest::engineShowsSentFramesToAllMonitors() {
    Server engine;
    QVERIFY(engine.start(kEngine, words("--rate 0")));
    QTcpSocket monitorA, monitorB, sender;
    Receiver receivedA(monitorA), receivedB(monitorB), receivedBySender(sender);
    QVERIFY(engine.connect(monitorA) && engine.connect(monitorB) && engine.connect(sender));
    monitorA.write(frameBytes({'m'}));
    monitorB.write(frameBytes({'m'}));
    // 'm' has no reply: give the stand-in time to take both requests, even on a loaded machine.
    QTest::qWait(500);
    // A call that fills its whole field, with no NUL, must not run into the next field.
    FrameHeader unterminated;
    unterminated.kind = 'M';
    unterminated.port = 1;
    unterminated.fromCall.fill('Q');
    const QByteArray typed("hello de ZZ9ZZ\r\n");
    QByteArray unterminatedFrame(FrameHeader::kSize, '\0');
    unterminated.encodeTo(std::span<std::uint8_t, FrameHeader::kSize>(
        reinterpret_cast<std::uint8_t*>(unterminatedFrame.data()), FrameHeader::kSize));
    sender.write(frameBytes({'M', 1, "ZZ9ZZ", "CQ"}, typed) + unterminatedFrame);

    QTRY_COMPARE_WITH_TIMEOUT(receivedA.frames().size(), std::size_t{2}, kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(receivedB.frames().size(), std::size_t{2}, kWaitMs);
    for (const Receiver* received : {&receivedA, &receivedB}) {
        const Frame echo = received->frames().front();
        QVERIFY(echo.header.isKind('T'));
        QCOMPARE(echo.header.port, 1u);
        QVERIFY(echo.data.startsWith(" 2:Fm ZZ9ZZ To CQ <UI pid=F0 Len=16 >["));
        QVERIFY(echo.data.endsWith("]\r" + typed));
        verifyMonitorText(echo);
        QVERIFY(received->frames().back().data.startsWith(" 2:Fm QQQQQQQQQQ To NOCALL <UI pid=F0 Len=0 >["));
    }
    QTest::qWait(100);
    QVERIFY(receivedBySender.stream.isEmpty());
}

void StandinsTest::engineDropsOversizedFrame() {
    Server engine;
    QVERIFY(engine.start(kEngine, {}));
    QTcpSocket socket;
    QVERIFY(engine.connect(socket));
    QByteArray huge = frameBytes({'M'});
    huge[28] = huge[29] = huge[30] = huge[31] = char(0xff);
    socket.write(huge + QByteArray(1000, 'x'));
    QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QAbstractSocket::UnconnectedState, kWaitMs);

    QTcpSocket next;
    Receiver received(next);
    QVERIFY(engine.connect(next));
    next.write(frameBytes({'G'}));
    QTRY_COMPARE_WITH_TIMEOUT(received.frames().size(), std::size_t{1}, kWaitMs);
}

void StandinsTest::engineCutOutputReassembles_data() {
    QTest::addColumn<QString>("chunks");
    QTest::newRow("listed sizes") << QStringLiteral("1,7,36,500");
    QTest::newRow("random sizes") << QStringLiteral("random");
}

void StandinsTest::engineCutOutputReassembles() {
    QFETCH(QString, chunks);
    Server engine;
    QVERIFY(engine.start(kEngine, words("--gap 5 --rate 200 --count 15 --chunks") << chunks));
    QTcpSocket socket;
    Receiver received(socket);
    QVERIFY(engine.connect(socket));
    socket.write(frameBytes({'G'}) + frameBytes({'m'}));
    QTRY_COMPARE_WITH_TIMEOUT(received.frames().size(), std::size_t{16}, 2 * kWaitMs);
    for (std::size_t i = 1; i < 16; ++i)
        verifyMonitorText(received.frames()[i]);
    const bool someReadShorterThanHeader =
        std::any_of(received.reads.begin(), received.reads.end(),
                    [](const auto& read) { return read.size() < static_cast<qsizetype>(FrameHeader::kSize); });
    QVERIFY2(someReadShorterThanHeader, "no read ended inside a header");
}

void StandinsTest::nodeLoginEchoAndBye() {
    Server node;
    QVERIFY(node.start(kNode, words("--rate 0")));
    QTcpSocket socket;
    Receiver received(socket);
    QVERIFY(node.connect(socket));
    QTRY_COMPARE_WITH_TIMEOUT(received.stream, QByteArray("login: "), kWaitMs);
    socket.write("\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(received.stream.endsWith("login: \r\nlogin: "), kWaitMs);
    socket.write("zz9zz\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(received.stream.contains("zz9zz\r\nHello ZZ9ZZ, this is ZZ0NODE in "), kWaitMs);
    socket.write("sh/dx\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(received.stream.contains("\r\nsh/dx\r\nZZ9ZZ de ZZ0NODE "), kWaitMs);
    socket.write("bye\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QAbstractSocket::UnconnectedState, kWaitMs);
    QVERIFY(received.stream.contains("\r\nbye\r\n"));
}

void StandinsTest::nodeColumnSpotsKeepTheirColumns() {
    Server node;
    QVERIFY(node.start(kNode, words("--max-rate --spots-only --count 400")));
    QTcpSocket socket;
    Receiver received(socket);
    QVERIFY(node.connect(socket));
    socket.write("ZZ9ZZ\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(received.stream.count("\r\n") >= 404, kWaitMs);
    const QList<QByteArray> lines = received.stream.split('\n').mid(4, 400);
    int columnSpots = 0, timedSpots = 0;
    std::set<QByteArray> spots;
    std::set<QString> bands;
    for (QByteArray line : lines) {
        QVERIFY2(line.endsWith('\r'), line.constData());
        line.chop(1);
        QVERIFY2(!line.contains('\r'), line.constData());
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (isColumnSpot(line)) {
            ++columnSpots;
            QCOMPARE(line.size(), 75);
            QVERIFY2(line[23] != ' ' && line.mid(24, 2) == "  " && line[26] != ' ' && line[38] == ' ',
                     line.constData());
            QCOMPARE(line.mid(15, 9).trimmed(), fields[3]);
            QCOMPARE(line.mid(26, 12).trimmed(), fields[4]);
            const QByteArray time = line.mid(70);
            const auto isDigit = [](char ch) { return ch >= '0' && ch <= '9'; };
            QVERIFY2(std::all_of(time.begin(), time.end() - 1, isDigit) && time.endsWith('Z'), line.constData());
            spots.insert(fields[2] + fields[3] + ' ' + fields[4]);
        } else {
            QVERIFY2(isTimedSpot(line), line.constData());
            ++timedSpots;
            spots.insert(fields[3] + fields[4] + ' ' + fields[5]);
        }
        const double kHz = (isColumnSpot(line) ? fields[3] : fields[4]).toDouble();
        bands.insert(kHz <= 30000 ? "HF" : kHz <= 146000 ? "VHF" : "UHF");
    }
    QVERIFY(columnSpots > 100 && timedSpots > 100);
    QCOMPARE(bands.size(), std::size_t{3});
    QVERIFY(spots.size() >= 399);
}

void StandinsTest::nodeTrafficMixAndFileLines() {
    Server generated;
    QVERIFY(generated.start(kNode, words("--max-rate --count 300")));
    QTcpSocket socket;
    Receiver received(socket);
    QVERIFY(generated.connect(socket));
    socket.write("ZZ9ZZ\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(received.stream.count("\r\n") >= 304, kWaitMs);
    for (const char* kind : {"\r\nTo ALL de ", "\r\nWWV de ", "\r\nZZ9ZZ de ZZ0NODE "})
        QVERIFY2(received.stream.contains(kind), kind);

    QTemporaryFile file;
    const QString path = writeTempFile(file, "first line\nsecond line\r\n");
    Server fromFile;
    QVERIFY(fromFile.start(kNode, words("--rate 100 --count 3 --lines") << path));
    QTcpSocket fileSocket;
    Receiver fileReceived(fileSocket);
    QVERIFY(fromFile.connect(fileSocket));
    fileSocket.write("ZZ9ZZ\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(fileReceived.stream.endsWith("first line\r\nsecond line\r\nfirst line\r\n"), kWaitMs);
}

void StandinsTest::nodeSplitAndBurstWrites_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("linesPerWrite");
    QTest::newRow("split") << words("--split --gap 20") << 0;
    QTest::newRow("burst") << words("--burst 5") << 5;
}

void StandinsTest::nodeSplitAndBurstWrites() {
    QFETCH(QStringList, options);
    QFETCH(int, linesPerWrite);
    Server node;
    QVERIFY(node.start(kNode, options + words("--spots-only --rate 25 --count 20")));
    QTcpSocket socket;
    Receiver received(socket);
    QVERIFY(node.connect(socket));
    QTRY_COMPARE_WITH_TIMEOUT(received.stream, QByteArray("login: "), kWaitMs);
    socket.write("ZZ9ZZ\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(received.stream.contains("dxspider >\r\n"), kWaitMs);
    const std::size_t greetingReads = received.reads.size();
    const qsizetype trafficStart = received.stream.indexOf("dxspider >\r\n") + 12;
    QTRY_VERIFY_WITH_TIMEOUT(received.stream.mid(trafficStart).count("\r\n") == 20, 2 * kWaitMs);

    const QList<QByteArray> traffic = received.stream.mid(trafficStart).split('\n');
    for (qsizetype i = 0; i < 20; ++i)
        QVERIFY2(isColumnSpot(traffic[i]) || isTimedSpot(traffic[i]), traffic[i].constData());
    bool someReadEndsInsideLine = false;
    for (std::size_t i = greetingReads; i < received.reads.size(); ++i) {
        const QByteArray& read = received.reads[i];
        someReadEndsInsideLine |= !read.endsWith("\r\n");
        if (linesPerWrite > 0) {
            QVERIFY(read.endsWith("\r\n"));
            QCOMPARE(read.count("\r\n") % linesPerWrite, 0);
        }
    }
    QCOMPARE(someReadEndsInsideLine, linesPerWrite == 0);
}

QTEST_MAIN(StandinsTest)
#include "StandinsTest.moc"
