// A stand-in for the packet-radio engine: speaks the engine's framed API on 127.0.0.1, answers the
// port request, delivers monitored frames after monitoring is switched on, and shows every frame
// a client sends as a transmitted frame to all monitoring clients.

#include "MonitorFrames.h"
#include "PacedWriter.h"
#include "StandinRuntime.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <set>

namespace {

using namespace standin;
using quendra::FrameHeader;
using HeaderBytes = std::span<const std::uint8_t, FrameHeader::kSize>;

// A client never needs to send more than a typed line; anything far larger is a broken peer.
constexpr std::uint32_t kMaxInboundData = 64 * 1024;
// In --max-rate mode the engine refills a client up to this much unsent output.
constexpr qint64 kMaxRateBacklog = 256 * 1024;

struct EngineOptions {
    quint16 listenPort = 8000;
    std::uint32_t ports = 2;
    double rate = 2.0;
    quint64 count = 0;
    std::uint32_t seed = 1;
    std::unique_ptr<FileFrames> frames;
    std::vector<qsizetype> chunks;
    bool randomChunks = false;
    qsizetype randomMax = 0;  // random pieces of 1 to this many bytes; 0: mostly small, some large
    bool spotsOnly = false;
    int gapMs = 2;
    bool maxRate = false;
};

// Cuts the output stream into pieces whose sizes follow a list, or are random; the sizes run on
// across frames so that cuts fall anywhere in headers and data.
class ChunkCutter {
public:
    ChunkCutter(std::vector<qsizetype> sizes, bool random, qsizetype randomMax, std::uint32_t seed)
        : sizes_(std::move(sizes)), random_(random), randomMax_(randomMax), dice_(seed) {}

    bool active() const { return random_ || !sizes_.empty(); }

    std::vector<QByteArray> cut(const QByteArray& bytes) {
        if (!active())
            return {bytes};
        std::vector<QByteArray> pieces;
        for (qsizetype at = 0; at < bytes.size();) {
            if (left_ == 0)
                left_ = nextSize();
            const qsizetype take = std::min(left_, bytes.size() - at);
            pieces.push_back(bytes.mid(at, take));
            at += take;
            left_ -= take;
        }
        return pieces;
    }

private:
    qsizetype nextSize() {
        if (random_ && randomMax_ > 0)
            return dice_.between(1, static_cast<int>(randomMax_));
        if (random_)
            return dice_.chance(0.1) ? dice_.between(100, 1500) : dice_.between(1, 60);
        const qsizetype size = sizes_[next_];
        next_ = (next_ + 1) % sizes_.size();
        return size;
    }

    std::vector<qsizetype> sizes_;
    bool random_;
    qsizetype randomMax_;
    Random dice_;
    std::size_t next_ = 0;
    qsizetype left_ = 0;
};

class EngineStandin;

class EngineClient : public QObject {
public:
    EngineClient(QTcpSocket* socket, EngineStandin& engine, const EngineOptions& options);

    bool monitoring() const { return source_ != nullptr; }
    void send(const QByteArray& frame) {
        if (socket_->state() != QAbstractSocket::ConnectedState)
            return;
        if (writer_.write(cutter_.cut(frame)))
            return;
        if (ticker_)
            ticker_->stop();
        reportDroppedClient(*socket_, "it stopped reading");
        socket_->abort();
    }

private:
    void readFrames();
    void handleFrame(const FrameHeader& header, const QByteArray& data);
    void startMonitoring();
    void fillToBacklog();
    QByteArray portInformation() const;

    QTcpSocket* socket_;
    EngineStandin& engine_;
    const EngineOptions& options_;
    PacedWriter writer_;
    ChunkCutter cutter_;
    std::unique_ptr<FrameSource> source_;
    std::unique_ptr<RateTicker> ticker_;
    quint64 delivered_ = 0;
    QByteArray inbox_;
};

class EngineStandin : public QObject {
public:
    explicit EngineStandin(EngineOptions options) : options_(std::move(options)) {
        connect(&server_, &QTcpServer::newConnection, this, [this] { acceptClients(); });
    }

    bool listen() { return listenOnLoopback(server_, options_.listenPort); }

    void broadcastToMonitors(const QByteArray& frame) {
        // Sending may drop a slow client, which leaves the set: walk a copy.
        const auto clients = clients_;
        for (EngineClient* client : clients)
            if (client->monitoring())
                client->send(frame);
    }

private:
    void acceptClients() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            auto* client = new EngineClient(socket, *this, options_);
            client->setParent(this);
            clients_.insert(client);
            connect(socket, &QTcpSocket::disconnected, this, [this, client] {
                if (clients_.erase(client) != 0)
                    client->deleteLater();
            });
        }
    }

    EngineOptions options_;
    QTcpServer server_;
    std::set<EngineClient*> clients_;
};

EngineClient::EngineClient(QTcpSocket* socket, EngineStandin& engine, const EngineOptions& options)
    : socket_(socket),
      engine_(engine),
      options_(options),
      writer_(*socket, options.chunks.empty() && !options.randomChunks ? 0 : options.gapMs),
      cutter_(options.chunks, options.randomChunks, options.randomMax, options.seed) {
    socket_->setParent(this);
    socket_->setReadBufferSize(kMaxInboundData);
    connect(socket_, &QTcpSocket::readyRead, this, [this] { readFrames(); });
}

void EngineClient::readFrames() {
    for (;;) {
        inbox_ += socket_->read(kMaxInboundData);
        if (inbox_.size() < static_cast<qsizetype>(FrameHeader::kSize))
            return;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(inbox_.constData());
        const FrameHeader header = FrameHeader::decode(HeaderBytes(bytes, FrameHeader::kSize));
        if (header.dataLength > kMaxInboundData) {
            reportDroppedClient(*socket_, "frame too large");
            socket_->abort();
            return;
        }
        const auto frameSize = static_cast<qsizetype>(FrameHeader::kSize + header.dataLength);
        if (inbox_.size() < frameSize) {
            if (socket_->bytesAvailable() == 0)
                return;
            continue;
        }
        const QByteArray data = inbox_.mid(FrameHeader::kSize, header.dataLength);
        inbox_.remove(0, frameSize);
        handleFrame(header, data);
        if (socket_->state() != QAbstractSocket::ConnectedState)
            return;
    }
}

// A call field as text: up to its NUL, printable characters only, so a peer's bytes cannot break
// the monitor header line.
std::string callText(const std::array<char, FrameHeader::kCallField>& field) {
    std::string call;
    for (char ch : field) {
        if (ch == '\0')
            break;
        if (ch > ' ' && ch < 0x7f)
            call += ch;
    }
    return call.empty() ? "NOCALL" : call;
}

void EngineClient::handleFrame(const FrameHeader& header, const QByteArray& data) {
    if (header.isKind('G')) {
        FrameHeader reply;
        reply.kind = 'G';
        const QByteArray text = portInformation();
        const auto frame = quendra::encodeFrame(reply, {reinterpret_cast<const std::uint8_t*>(text.constData()),
                                                        static_cast<std::size_t>(text.size())});
        send(QByteArray(reinterpret_cast<const char*>(frame.data()), static_cast<qsizetype>(frame.size())));
    } else if (header.isKind('m')) {
        startMonitoring();
    } else if (header.isKind('M')) {
        engine_.broadcastToMonitors(
            frameBytes(transmittedFrame(header.port, callText(header.fromCall), callText(header.toCall), data)));
    }
}

QByteArray EngineClient::portInformation() const {
    static constexpr std::array<const char*, 6> radios{"144.800 MHz 1200 bd", "432.675 MHz 9600 bd",
                                                       "14.105 MHz 300 bd",   "145.225 MHz 1200 bd",
                                                       "50.620 MHz 1200 bd",  "438.025 MHz 9600 bd"};
    QByteArray text = QByteArray::number(options_.ports);
    for (std::uint32_t port = 0; port < options_.ports; ++port)
        text += QByteArray(";") + radios[port % radios.size()];
    return text;
}

void EngineClient::startMonitoring() {
    if (monitoring())
        return;
    if (options_.frames)
        source_ = std::make_unique<FileFrames>(*options_.frames);
    else
        source_ = std::make_unique<GeneratedFrames>(options_.seed, options_.ports, options_.spotsOnly);
    if (options_.maxRate) {
        connect(socket_, &QTcpSocket::bytesWritten, this, [this] { fillToBacklog(); });
        fillToBacklog();
        return;
    }
    ticker_ = std::make_unique<RateTicker>(options_.rate, options_.count, [this] {
        if (socket_->state() == QAbstractSocket::ConnectedState)
            send(frameBytes(source_->next()));
    });
    ticker_->start();
}

// As fast as the socket drains: top the unsent output up whenever some of it has gone.
void EngineClient::fillToBacklog() {
    while (socket_->state() == QAbstractSocket::ConnectedState && writer_.backlog() < kMaxRateBacklog &&
           (options_.count == 0 || delivered_ < options_.count)) {
        ++delivered_;
        send(frameBytes(source_->next()));
    }
}

EngineOptions parseOptions(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Stand-in packet-radio engine for demos and tests. Listens on 127.0.0.1 only and prints\n"
        "\"listening on 127.0.0.1:<port>\" once ready."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        option("port", "TCP port to listen on, 0 for any free one.", "N", "8000"),
        option("ports", "Radio ports reported to the 'G' request (1 to 99).", "N", "2"),
        option("frames", "Monitored frames from FILE: blocks separated by blank lines, the header line "
                         "first, then the data lines.", "FILE"),
        option("rate", "Monitored frames per second to each monitoring client (0: none).", "R", "2"),
        option("count", "Monitored frames per client, 0 for no end.", "N", "0"),
        option("seed", "Seed for generated traffic and random chunks.", "N", "1"),
        option("chunks", "Cut the output into pieces of these sizes, e.g. 1,7,36,500, or 'random', or "
                         "'random:N' for pieces of 1 to N bytes.", "LIST"),
        option("gap", "Milliseconds between the pieces of cut output.", "MS", "2"),
        option("max-rate", "Deliver monitored frames as fast as the socket drains (with --count to stop)."),
        option("spots-only", "Generate spot broadcasts only."),
    });
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        failUsage(QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));

    EngineOptions options;
    options.listenPort = static_cast<quint16>(unsignedOption(parser, QStringLiteral("port"), 65535));
    options.ports = static_cast<std::uint32_t>(unsignedOption(parser, QStringLiteral("ports"), 99));
    if (options.ports == 0)
        failUsage(QStringLiteral("--ports needs at least 1"));
    options.rate = rateOption(parser, QStringLiteral("rate"));
    options.count = unsignedOption(parser, QStringLiteral("count"), std::numeric_limits<quint32>::max());
    options.seed = static_cast<std::uint32_t>(unsignedOption(parser, QStringLiteral("seed"), 0xffffffffu));
    options.gapMs = static_cast<int>(unsignedOption(parser, QStringLiteral("gap"), 10000));
    options.maxRate = parser.isSet(QStringLiteral("max-rate"));
    options.spotsOnly = parser.isSet(QStringLiteral("spots-only"));
    if (parser.isSet(QStringLiteral("frames"))) {
        QString error;
        options.frames = FileFrames::load(parser.value(QStringLiteral("frames")), error);
        if (!options.frames)
            failUsage(QStringLiteral("cannot use %1: %2").arg(parser.value(QStringLiteral("frames")), error));
    }
    const QString chunks = parser.value(QStringLiteral("chunks"));
    if (chunks == QStringLiteral("random")) {
        options.randomChunks = true;
    } else if (chunks.startsWith(QStringLiteral("random:"))) {
        bool ok = false;
        options.randomMax = chunks.mid(7).toInt(&ok);
        if (!ok || options.randomMax < 1 || options.randomMax > 65536)
            failUsage(QStringLiteral("--chunks random:N needs N from 1 to 65536"));
        options.randomChunks = true;
    } else if (!chunks.isEmpty()) {
        for (const QString& size : chunks.split(QLatin1Char(','))) {
            bool ok = false;
            const int value = size.trimmed().toInt(&ok);
            if (!ok || value < 1 || value > 65536)
                failUsage(QStringLiteral("--chunks needs sizes from 1 to 65536 separated by commas, or 'random'"));
            options.chunks.push_back(value);
        }
    }
    return options;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quendra_engine_standin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUENDRA_VERSION));
    EngineStandin engine(parseOptions(app));
    quitOnTerminationSignals(app);
    if (!engine.listen())
        return 1;
    return QCoreApplication::exec();
}
