#include "platform/AsyncSocket.h"

#include "platform/RefreshPacing.h"

#include <QScopedValueRollback>
#include <QTcpSocket>

#include <cerrno>
#include <utility>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace quendra {
namespace {

int errorCode(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return ECONNREFUSED;
    case QAbstractSocket::RemoteHostClosedError: return 0;
    case QAbstractSocket::HostNotFoundError: return EHOSTUNREACH;
    case QAbstractSocket::SocketTimeoutError: return ETIMEDOUT;
    case QAbstractSocket::NetworkError: return ENETUNREACH;
    case QAbstractSocket::SocketAccessError: return EACCES;
    case QAbstractSocket::SocketResourceError: return ENOBUFS;
    default: return EIO;
    }
}

// A socket that is let go while bytes still wait to be sent gets this long to send them.
constexpr int kLingerMs = 5000;
constexpr qint64 kReadBufferSize = 64 * 1024;
// A burst is offered in several reads within one turn of the event loop, so that the windows
// repaint once per burst rather than once per read; the bound keeps the windows responsive while
// a peer sends without pause.
constexpr int kReadsPerTurn = 16;
// While reads are held, the kernel wakes the program early only for this much: a node that sends
// faster than a frame's worth of trickle is still read at once, and its flow is not slowed.
constexpr int kHeldLowWater = 16 * 1024;

}  // namespace

AsyncSocket::AsyncSocket(QObject* parent) : QObject(parent) {
    connectTimer_.setSingleShot(true);
    connectTimer_.setInterval(kConnectTimeoutMs);
    connect(&connectTimer_, &QTimer::timeout, this, &AsyncSocket::giveUpConnect);
    readPacer_.setSingleShot(true);
    readPacer_.setInterval(refresh_pacing::kFrameMs);
    connect(&readPacer_, &QTimer::timeout, this, [this] { setReadLowWater(1); });
}

AsyncSocket::~AsyncSocket() { Close(); }

void AsyncSocket::Create() {
    Close();
    socket_ = new QTcpSocket(this);
    // Qt would otherwise read everything the kernel holds into memory: a bounded buffer keeps
    // TCP's back-pressure on a peer that sends faster than the window can show.
    socket_->setReadBufferSize(kReadBufferSize);
    wire(socket_);
}

void AsyncSocket::wire(QTcpSocket* socket) {
    connect(socket, &QTcpSocket::connected, this, [this, socket] { handleConnected(socket); });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        if (isCurrent(socket))
            pumpFromNotification();
    });
    connect(socket, &QTcpSocket::errorOccurred, this,
            [this, socket](QAbstractSocket::SocketError error) { handleError(socket, errorCode(error)); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { handleEnd(socket, 0); });
    connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { handleBytesWritten(socket); });
}

void AsyncSocket::Connect(const QString& host, int port) {
    // Each attempt gets a socket of its own, so a stale or pending attempt never reports into it.
    if (!socket_ || phase_ != Phase::Idle)
        Create();
    if (port < 1 || port > 65535) {
        // Cut to 16 bits the port would name some other service; the owner still hears the
        // attempt end, as it would for any address that cannot be reached.
        phase_ = Phase::Failed;
        postConnectOutcome(EADDRNOTAVAIL);
        return;
    }
    phase_ = Phase::Connecting;
    connectTimer_.start();
    socket_->connectToHost(host, static_cast<quint16>(port));
}

void AsyncSocket::handleConnected(QTcpSocket* socket) {
    if (!isCurrent(socket) || phase_ != Phase::Connecting)
        return;
    phase_ = Phase::Connected;
    connectTimer_.stop();
    postConnectOutcome(0);
}

void AsyncSocket::handleError(QTcpSocket* socket, int code) {
    if (!isCurrent(socket))
        return;
    if (phase_ == Phase::Connecting) {
        phase_ = Phase::Failed;
        connectTimer_.stop();
        postConnectOutcome(code == 0 ? EIO : code);
    } else if (phase_ == Phase::Connected) {
        handleEnd(socket, code);
    }
}

void AsyncSocket::handleEnd(QTcpSocket* socket, int error) {
    if (!isCurrent(socket) || phase_ != Phase::Connected)
        return;
    phase_ = Phase::Ended;
    closeError_ = error;
    schedulePump();
}

void AsyncSocket::giveUpConnect() {
    if (phase_ != Phase::Connecting || !socket_)
        return;
    phase_ = Phase::Failed;
    socket_->abort();
    postConnectOutcome(ETIMEDOUT);
}

void AsyncSocket::postConnectOutcome(int error) {
    QMetaObject::invokeMethod(this, [this, error, generation = generation_] {
        if (generation != generation_ || !socket_)
            return;
        OnConnect(error);
        emit connectFinished(error);
        if (error == 0 && isOpen() && generation == generation_)
            schedulePump();
    }, Qt::QueuedConnection);
}

void AsyncSocket::schedulePump() {
    if (pumpPosted_)
        return;
    pumpPosted_ = true;
    QMetaObject::invokeMethod(this, [this, generation = generation_] {
        if (generation != generation_ || !socket_)
            return;
        pumpPosted_ = false;
        // Inside a handler's nested loop the running offer reads on once the handler returns.
        if (!pumping_)
            pump();
    }, Qt::QueuedConnection);
}

void AsyncSocket::pumpFromNotification() {
    // Qt announces new bytes from the event loop, so they are offered at once: posting the offer
    // would cost a second turn of the loop, and two more system calls, for every read a node's
    // trickle causes. A handler that waits in a nested loop gets the new bytes offered later,
    // never from inside itself.
    if (pumping_ || pumpPosted_) {
        schedulePump();
        return;
    }
    pump();
}

void AsyncSocket::pump() {
    const quint64 generation = generation_;
    const QScopedValueRollback<bool> pumping(pumping_, true);
    for (int turn = 0; turn < kReadsPerTurn && socket_->bytesAvailable() > 0; ++turn) {
        readSinceNotify_ = false;
        OnReceive(0);
        if (generation != generation_ || !socket_)
            return;
        // Like the platform's sockets, a handler that stops reading gets no more reminders
        // until new bytes arrive.
        if (!readSinceNotify_)
            break;
    }
    if (socket_->bytesAvailable() > 0 && readSinceNotify_) {
        schedulePump();
        return;
    }
    if (readSinceNotify_)
        holdReadsForAFrame();
    if (phase_ == Phase::Ended && !closeDelivered_) {
        closeDelivered_ = true;
        OnClose(closeError_);
        emit closed();
    }
}

int AsyncSocket::Receive(void* buffer, int maximum) {
    if (!socket_ || buffer == nullptr || maximum <= 0)
        return -1;
    readSinceNotify_ = true;
    if (socket_->bytesAvailable() <= 0)
        return phase_ == Phase::Ended ? 0 : -1;
    const qint64 count = socket_->read(static_cast<char*>(buffer), maximum);
    return count < 0 ? -1 : static_cast<int>(count);
}

int AsyncSocket::Send(const void* data, int length) {
    if (!socket_ || phase_ != Phase::Connected || sendShut_ || length < 0 ||
        (data == nullptr && length > 0))
        return -1;
    const qint64 queued = socket_->write(static_cast<const char*>(data), length);
    return queued < 0 ? -1 : static_cast<int>(queued);
}

void AsyncSocket::ShutdownSend() {
    if (!socket_ || phase_ != Phase::Connected || sendShut_)
        return;
    sendShut_ = true;
    socket_->flush();
    if (socket_->bytesToWrite() > 0)
        shutdownPending_ = true;
    else
        shutdownSendNow();
}

void AsyncSocket::handleBytesWritten(QTcpSocket* socket) {
    if (isCurrent(socket) && shutdownPending_ && socket->bytesToWrite() == 0) {
        shutdownPending_ = false;
        shutdownSendNow();
    }
}

void AsyncSocket::shutdownSendNow() {
    const auto descriptor = socket_->socketDescriptor();
    if (descriptor == -1)
        return;
#ifdef _WIN32
    ::shutdown(static_cast<SOCKET>(descriptor), SD_SEND);
#else
    ::shutdown(static_cast<int>(descriptor), SHUT_WR);
#endif
}

// A node trickles its text in reads of a few bytes, and every read wakes the program, which then
// costs more than the bytes themselves. What a read brings is shown at the next refresh at the
// earliest, so after a read the kernel is asked to wake the program only once a good amount has
// come in; at the end of the frame anything at all wakes it again. The stream, its order and the
// end of the connection are unchanged (an end or an error wakes the program at once): only the
// number of reads falls, to about one a frame.
void AsyncSocket::holdReadsForAFrame() {
    if (!refresh_pacing::coalescing() || readPacer_.isActive() || phase_ != Phase::Connected)
        return;
    setReadLowWater(kHeldLowWater);
    readPacer_.start();
}

void AsyncSocket::setReadLowWater(int bytes) {
    const auto descriptor = socket_ ? socket_->socketDescriptor() : -1;
    if (descriptor == -1)
        return;
#ifndef _WIN32
    ::setsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_RCVLOWAT, &bytes, sizeof bytes);
#endif
}

void AsyncSocket::Close() {
    connectTimer_.stop();
    readPacer_.stop();
    ++generation_;
    phase_ = Phase::Idle;
    pumpPosted_ = false;
    readSinceNotify_ = false;
    closeDelivered_ = false;
    shutdownPending_ = false;
    sendShut_ = false;
    closeError_ = 0;
    QTcpSocket* socket = std::exchange(socket_, nullptr);
    if (!socket)
        return;
    socket->disconnect(this);
    if (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() > 0) {
        // Bytes already accepted by Send still go out, as a closed platform socket sends them.
        socket->setParent(nullptr);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kLingerMs, socket, &QObject::deleteLater);
        socket->disconnectFromHost();
        return;
    }
    socket->abort();
    socket->deleteLater();
}

void AsyncSocket::SetKeepAlive(bool on) {
    if (socket_)
        socket_->setSocketOption(QAbstractSocket::KeepAliveOption, on ? 1 : 0);
}

void AsyncSocket::OnConnect(int) {}
void AsyncSocket::OnReceive(int) {}
void AsyncSocket::OnClose(int) {}

}  // namespace quendra
