// A stand-in for a DX cluster node: a telnet-style line service on 127.0.0.1 that asks for a call
// sign, greets, then sends spot announcements of both forms and other node traffic, echoes what the
// client types and ends the session on "bye".

#include "PacedWriter.h"
#include "StandinRuntime.h"
#include "TrafficText.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

using namespace standin;

// A typed line is short; a longer run without a line end is cut into lines of this size.
constexpr qsizetype kMaxTypedLine = 512;
// In --max-rate mode the node refills the socket up to this much unsent output.
constexpr qint64 kMaxRateBacklog = 256 * 1024;

class LineSource {
public:
    virtual ~LineSource() = default;
    virtual std::string next() = 0;
};

class FileLines : public LineSource {
public:
    explicit FileLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    std::string next() override {
        std::string line = lines_[at_];
        at_ = (at_ + 1) % lines_.size();
        return line;
    }

private:
    std::vector<std::string> lines_;
    std::size_t at_ = 0;
};

// Mostly spots, in both forms and on every band, with announcements, WWV bulletins and prompts
// in between unless only spots are wanted.
class GeneratedLines : public LineSource {
public:
    GeneratedLines(std::uint32_t seed, bool spotsOnly, std::string user, std::string node)
        : random_(seed), spotsOnly_(spotsOnly), user_(std::move(user)), node_(std::move(node)) {}

    std::string next() override {
        const int roll = spotsOnly_ ? 1 : random_.between(1, 100);
        if (roll <= 75)
            return spotLine(random_);
        if (roll <= 87)
            return announcementLine(random_);
        if (roll <= 95)
            return wwvLine(random_);
        return promptLine(user_, node_);
    }

private:
    Random random_;
    bool spotsOnly_;
    std::string user_;
    std::string node_;
};

struct NodeOptions {
    quint16 listenPort = 7300;
    std::string nodeCall = "ZZ0NODE";
    double rate = 2.0;
    quint64 count = 0;
    std::uint32_t seed = 1;
    bool spotsOnly = false;
    std::vector<std::string> lines;
    bool split = false;
    int burst = 1;
    bool maxRate = false;
    int gapMs = 2;
};

class NodeSession : public QObject {
public:
    NodeSession(QTcpSocket* socket, const NodeOptions& options)
        : socket_(socket),
          options_(options),
          writer_(*socket, options.split ? options.gapMs : 0),
          cuts_(options.seed ^ 0x5eedu) {
        socket_->setParent(this);
        socket_->setReadBufferSize(4096);
        connect(socket_, &QTcpSocket::readyRead, this, [this] { readTyped(); });
        writeNow("login: ");
    }

private:
    void readTyped() {
        const QByteArray bytes = socket_->readAll();
        for (const char ch : bytes) {
            const bool lineEnd = ch == '\r' || ch == '\n';
            const bool secondHalfOfCrLf = ch == '\n' && lastWasCr_;
            lastWasCr_ = ch == '\r';
            if (secondHalfOfCrLf)
                continue;
            if (!lineEnd)
                typed_ += ch;
            if (lineEnd || typed_.size() >= kMaxTypedLine) {
                const QByteArray line = std::exchange(typed_, {});
                handleLine(line);
                if (closing_)
                    return;
            }
        }
    }

    void handleLine(const QByteArray& line) {
        writeNow(line.toStdString() + "\r\n");
        const QByteArray command = line.trimmed().toLower();
        if (user_.empty()) {
            login(line.trimmed());
        } else if (command == "bye") {
            closing_ = true;
            stopTraffic();
            writeNow("73 de " + options_.nodeCall + ", bye " + user_ + "\r\n");
            writer_.closeWhenDrained();
        } else if (!command.isEmpty()) {
            writeNow(promptLine(user_, options_.nodeCall) + "\r\n");
        }
    }

    void login(const QByteArray& typed) {
        std::string call;
        for (const char ch : typed.toUpper().left(12))
            if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '/' || ch == '-')
                call += ch;
        if (call.empty()) {
            writeNow("login: ");
            return;
        }
        user_ = call;
        writeNow("Hello " + user_ + ", this is " + options_.nodeCall + " in Uppsala, Sweden\r\n" +
                 "running the Quendra stand-in cluster node\r\n" + promptLine(user_, options_.nodeCall) + "\r\n");
        startTraffic();
    }

    void startTraffic() {
        if (!options_.lines.empty())
            source_ = std::make_unique<FileLines>(options_.lines);
        else
            source_ = std::make_unique<GeneratedLines>(options_.seed, options_.spotsOnly, user_,
                                                       options_.nodeCall);
        if (options_.maxRate) {
            connect(socket_, &QTcpSocket::bytesWritten, this, [this] { fillToBacklog(); });
            fillToBacklog();
            return;
        }
        ticker_ = std::make_unique<RateTicker>(options_.rate, options_.count, [this] {
            if (closing_)
                return;
            queueTraffic(source_->next());
            if (ticker_->finished())
                flushBatch();
        });
        ticker_->start();
    }

    // As fast as the socket drains: top the unsent output up whenever some of it has gone.
    void fillToBacklog() {
        while (!closing_ && writer_.backlog() < kMaxRateBacklog &&
               (options_.count == 0 || produced_ < options_.count)) {
            ++produced_;
            queueTraffic(source_->next());
        }
        if (options_.count != 0 && produced_ >= options_.count)
            flushBatch();
    }

    void queueTraffic(const std::string& line) {
        batch_ += QByteArray::fromStdString(line) + "\r\n";
        if (++batchLines_ >= options_.burst)
            flushBatch();
    }

    void flushBatch() {
        if (batch_.isEmpty())
            return;
        batchLines_ = 0;
        std::vector<QByteArray> pieces{std::exchange(batch_, {})};
        if (options_.split && pieces.front().size() > 1) {
            const qsizetype cut = cuts_.between(1, static_cast<int>(pieces.front().size()) - 1);
            pieces.push_back(pieces.front().mid(cut));
            pieces.front().truncate(cut);
        }
        send(std::move(pieces));
    }

    void writeNow(const std::string& text) {
        flushBatch();
        send({QByteArray::fromStdString(text)});
    }

    void send(std::vector<QByteArray> pieces) {
        if (socket_->state() != QAbstractSocket::ConnectedState)
            return;
        if (!writer_.write(std::move(pieces)) && !closing_) {
            closing_ = true;
            stopTraffic();
            reportDroppedClient(*socket_, "it stopped reading");
            socket_->abort();
        }
    }

    void stopTraffic() {
        if (ticker_)
            ticker_->stop();
    }

    QTcpSocket* socket_;
    const NodeOptions& options_;
    PacedWriter writer_;
    Random cuts_;
    QByteArray typed_;
    bool lastWasCr_ = false;
    bool closing_ = false;
    std::string user_;
    std::unique_ptr<LineSource> source_;
    std::unique_ptr<RateTicker> ticker_;
    QByteArray batch_;
    int batchLines_ = 0;
    quint64 produced_ = 0;
};

class NodeStandin : public QObject {
public:
    explicit NodeStandin(NodeOptions options) : options_(std::move(options)) {
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                auto* session = new NodeSession(socket, options_);
                session->setParent(this);
                connect(socket, &QTcpSocket::disconnected, session, &QObject::deleteLater);
            }
        });
    }

    bool listen() { return listenOnLoopback(server_, options_.listenPort); }

private:
    NodeOptions options_;
    QTcpServer server_;
};

std::vector<std::string> readLinesFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failUsage(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    std::vector<std::string> lines;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        lines.push_back(line.toStdString());
    }
    if (lines.empty())
        failUsage(QStringLiteral("%1 holds no lines").arg(path));
    return lines;
}

NodeOptions parseOptions(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Stand-in DX cluster node for demos and tests. Listens on 127.0.0.1 only and prints\n"
        "\"listening on 127.0.0.1:<port>\" once ready."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        option("port", "TCP port to listen on, 0 for any free one.", "N", "7300"),
        option("node-call", "The node's own call sign.", "CALL", "ZZ0NODE"),
        option("lines", "Traffic from FILE, one line per line, repeated in order.", "FILE"),
        option("rate", "Traffic lines per second to each logged-in client (0: none).", "R", "2"),
        option("count", "Traffic lines per client, 0 for no end.", "N", "0"),
        option("spots-only", "Generate spot announcements only."),
        option("seed", "Seed for generated traffic and split points.", "N", "1"),
        option("split", "Cut every write at a random point into two writes."),
        option("gap", "Milliseconds between the two writes of a split.", "MS", "2"),
        option("burst", "Send traffic lines N at a time in one write.", "N", "1"),
        option("max-rate", "Send traffic as fast as the socket drains (with --count to stop)."),
    });
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        failUsage(QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));

    NodeOptions options;
    options.listenPort = static_cast<quint16>(unsignedOption(parser, QStringLiteral("port"), 65535));
    options.nodeCall = parser.value(QStringLiteral("node-call")).toUpper().toStdString();
    options.rate = rateOption(parser, QStringLiteral("rate"));
    options.count = unsignedOption(parser, QStringLiteral("count"), std::numeric_limits<quint32>::max());
    options.seed = static_cast<std::uint32_t>(unsignedOption(parser, QStringLiteral("seed"), 0xffffffffu));
    options.spotsOnly = parser.isSet(QStringLiteral("spots-only"));
    options.split = parser.isSet(QStringLiteral("split"));
    options.gapMs = static_cast<int>(unsignedOption(parser, QStringLiteral("gap"), 10000));
    options.burst = static_cast<int>(unsignedOption(parser, QStringLiteral("burst"), 100000));
    if (options.burst == 0)
        failUsage(QStringLiteral("--burst needs at least 1"));
    options.maxRate = parser.isSet(QStringLiteral("max-rate"));
    if (parser.isSet(QStringLiteral("lines")))
        options.lines = readLinesFile(parser.value(QStringLiteral("lines")));
    return options;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quendra_node_standin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUENDRA_VERSION));
    NodeStandin node(parseOptions(app));
    quitOnTerminationSignals(app);
    if (!node.listen())
        return 1;
    return QCoreApplication::exec();
}
