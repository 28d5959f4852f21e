#include "radio/RadioLink.h"

#include "radio/RadioFrequency.h"
#include "settings/SettingsCatalogue.h"
#include "radio/RadioStatusText.h"
#include "radio/RigCommands.h"
#include "settings/Settings.h"

#include <QTcpSocket>

#include <algorithm>

namespace quendra {
namespace {

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

RadioLink::RadioLink(Settings& settings, QObject* parent)
    : QObject(parent), settings_(settings), status_(fromStd(radioNotConnectedText())) {
    replyTimer_.setSingleShot(true);
    connect(&replyTimer_, &QTimer::timeout, this, &RadioLink::onTimeout);
    readTimer_.setInterval(kReadIntervalMs);
    connect(&readTimer_, &QTimer::timeout, this, &RadioLink::readRadio);
}

RadioLink::~RadioLink() {
    dropSocket();
}

bool RadioLink::tune(const QString& frequencyText, const QString& modeToken) {
    if (readSetting(settings_, setting::kRadioEnabled) == 0)
        return false;
    const std::optional<std::int64_t> hertz = hertzFromKilohertzText(frequencyText.toStdU16String());
    if (!hertz)
        return false;

    dropQueued(Purpose::TuneFrequency);
    dropQueued(Purpose::TuneMode);
    // Ahead of a queued reading: the user waits for the tune, nobody waits for the reading.
    std::deque<Command> tuneCommands;
    tuneCommands.push_back({QByteArray::fromStdString(setFrequencyCommand(*hertz)), RigReplyKind::Status,
                            Purpose::TuneFrequency});
    if (!modeToken.isEmpty()) {
        if (const std::optional<std::string> line = setModeCommand(modeToken.toStdString()))
            tuneCommands.push_back({QByteArray::fromStdString(*line), RigReplyKind::Status, Purpose::TuneMode});
    }
    queue_.insert(queue_.begin(), tuneCommands.begin(), tuneCommands.end());

    if (state_ == State::NotConnected) {
        quietRetryLeft_ = true;
        connectToDaemon();
    }
    else
        sendNext();
    return true;
}

void RadioLink::disconnectFromRadio() {
    const bool hadTune = tunePending();
    dropSocket();
    setStatus(fromStd(radioNotConnectedText()));
    if (hadTune)
        emit tuneFinished(false);
}

void RadioLink::connectToDaemon() {
    const QString host = QString::fromStdU16String(
        readSetting(settings_, setting::kRadioHost)).trimmed();
    const int port = readSetting(settings_, setting::kRadioPort);
    if (host.isEmpty() || port < 1 || port > 65535) {
        fail(fromStd(radioFaultText(RadioFault::BadAddress)));
        return;
    }
    releaseSocket();
    socket_ = new QTcpSocket(this);
    connect(socket_, &QTcpSocket::connected, this, &RadioLink::onConnected);
    connect(socket_, &QTcpSocket::readyRead, this, &RadioLink::onReadyRead);
    connect(socket_, &QTcpSocket::disconnected, this, [this] { onTransportEnd(true); });
    connect(socket_, &QTcpSocket::errorOccurred, this,
            [this] { onTransportEnd(state_ == State::Connected); });
    state_ = State::Connecting;
    answeredOnConnection_ = false;
    replyTimer_.start(kConnectTimeoutMs);
    socket_->connectToHost(host, static_cast<quint16>(port));
}

void RadioLink::onConnected() {
    state_ = State::Connected;
    replyTimer_.stop();
    readTimer_.start();
    if (queue_.empty())
        readRadio();
    else
        sendNext();
}

void RadioLink::onReadyRead() {
    QTcpSocket* const socket = socket_;
    const QByteArray bytes = socket->readAll();
    for (const RigReply& reply : reader_.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        handleReply(reply);
        if (socket_ != socket)
            return;
    }
}

void RadioLink::onTransportEnd(bool lost) {
    if (lost && retryQuietly())
        return;
    if (lost)
        fail(fromStd(radioFaultText(RadioFault::Lost)));
    else
        fail(fromStd(radioFaultText(RadioFault::Refused)));
}

// rigctld (Hamlib 4.5) closes a finished client's socket twice; when another client connects in
// between, the second close ends that new connection before it is served. A tune that meets this
// connects once more and resends what it had sent, instead of failing on someone else's fault.
bool RadioLink::retryQuietly() {
    if (answeredOnConnection_ || !quietRetryLeft_ || !tunePending())
        return false;
    quietRetryLeft_ = false;
    if (inFlight_) {
        queue_.push_front(*inFlight_);
        inFlight_.reset();
    }
    reader_.reset();
    readTimer_.stop();
    connectToDaemon();
    return true;
}

void RadioLink::onTimeout() {
    fail(fromStd(radioFaultText(RadioFault::NoReply)));
}

void RadioLink::readRadio() {
    if (state_ != State::Connected || inFlight_ || !queue_.empty())
        return;
    queue_.push_back({QByteArray(kReadFrequencyCommand.data(), static_cast<qsizetype>(kReadFrequencyCommand.size())),
                      RigReplyKind::Frequency, Purpose::ReadFrequency});
    queue_.push_back({QByteArray(kReadModeCommand.data(), static_cast<qsizetype>(kReadModeCommand.size())),
                      RigReplyKind::Mode, Purpose::ReadMode});
    sendNext();
}

// One command at a time: the reply timeout then always belongs to the command on the wire.
void RadioLink::sendNext() {
    if (state_ != State::Connected || inFlight_ || queue_.empty())
        return;
    inFlight_ = queue_.front();
    queue_.pop_front();
    reader_.expect(inFlight_->kind);
    socket_->write(inFlight_->line);
    replyTimer_.start(kReplyTimeoutMs);
}

void RadioLink::handleReply(const RigReply& reply) {
    if (!inFlight_)
        return;
    const Purpose purpose = inFlight_->purpose;
    inFlight_.reset();
    answeredOnConnection_ = true;
    replyTimer_.stop();

    switch (purpose) {
    case Purpose::TuneFrequency:
        if (reply.code != 0) {
            dropQueued(Purpose::TuneMode);
            setStatus(fromStd(radioFaultText(RadioFault::FrequencyRefused, reply.code)));
            emit tuneFinished(false);
        } else if (std::none_of(queue_.begin(), queue_.end(),
                                [](const Command& c) { return c.purpose == Purpose::TuneMode; })) {
            emit tuneFinished(true);
            readRadio();
        }
        break;
    case Purpose::TuneMode:
        if (reply.code != 0) {
            setStatus(fromStd(radioFaultText(RadioFault::ModeRefused, reply.code)));
            emit tuneFinished(false);
        } else {
            emit tuneFinished(true);
            readRadio();
        }
        break;
    case Purpose::ReadFrequency:
        if (reply.code != 0) {
            dropQueued(Purpose::ReadMode);
            setStatus(fromStd(radioFaultText(RadioFault::ReadRefused, reply.code)));
        } else {
            readHertz_ = reply.hertz;
        }
        break;
    case Purpose::ReadMode:
        if (reply.code != 0) {
            setStatus(fromStd(radioFaultText(RadioFault::ReadRefused, reply.code)));
        } else {
            const QString mode = QString::fromStdString(reply.mode);
            emit frequencyRead(readHertz_, mode);
            setStatus(fromStd(radioReadingText(readHertz_, reply.mode)));
        }
        break;
    }
    sendNext();
}

void RadioLink::dropQueued(Purpose purpose) {
    std::erase_if(queue_, [purpose](const Command& c) { return c.purpose == purpose; });
}

bool RadioLink::tunePending() const {
    auto isTune = [](const Command& c) {
        return c.purpose == Purpose::TuneFrequency || c.purpose == Purpose::TuneMode;
    };
    return (inFlight_ && isTune(*inFlight_)) || std::any_of(queue_.begin(), queue_.end(), isTune);
}

void RadioLink::fail(const QString& status) {
    const bool hadTune = tunePending();
    dropSocket();
    setStatus(status);
    if (hadTune)
        emit tuneFinished(false);
}

void RadioLink::dropSocket() {
    replyTimer_.stop();
    readTimer_.stop();
    queue_.clear();
    inFlight_.reset();
    reader_.reset();
    state_ = State::NotConnected;
    releaseSocket();
}

void RadioLink::releaseSocket() {
    if (socket_ == nullptr)
        return;
    // Unhooked before it is aborted, so that its last signals never reach this link again.
    socket_->disconnect(this);
    socket_->abort();
    socket_->deleteLater();
    socket_ = nullptr;
}

void RadioLink::setStatus(const QString& text) {
    if (text == status_)
        return;
    status_ = text;
    emit statusChanged(status_);
}

}  // namespace quendra
