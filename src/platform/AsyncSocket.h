#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QTcpSocket;

namespace quendra {

// A TCP stream socket that reports its life through three notifications, the way the link
// classes expect them:
// - OnConnect once per connect attempt: 0 on success, a non-zero error for a refused,
//   unreachable, unresolvable or timed-out attempt;
// - OnReceive again and again while unread bytes remain and the handler keeps reading (Qt
//   announces buffered bytes only once);
// - OnClose once when the peer ends the connection or it breaks, and only after every byte that
//   arrived before the end has been offered through OnReceive.
// Notifications are always delivered from the event loop, never from inside a call to this
// class, and never for a socket that has since been closed or replaced. While the windows pace
// their refreshes, bytes that trickle in after a read are gathered by the kernel until the end of
// the frame (or until 16 KB have come) and offered together.
class AsyncSocket : public QObject {
    Q_OBJECT

public:
    // An attempt that has neither succeeded nor failed after this long is given up.
    static constexpr int kConnectTimeoutMs = 30000;

    explicit AsyncSocket(QObject* parent = nullptr);
    ~AsyncSocket() override;

    // Makes a fresh socket, closing any earlier one first.
    void Create();
    // Starts connecting to an IPv4 or IPv6 address or a host name, on a fresh socket unless the
    // current one is new and unused. A port outside 1..65535 fails like an unreachable address.
    void Connect(const QString& host, int port);
    // Bytes read, 0 once the peer has ended the stream and everything was read, or -1 when
    // nothing can be read now.
    int Receive(void* buffer, int maximum);
    // Queues all bytes for sending; the count queued, or -1 without a connection.
    int Send(const void* data, int length);
    // Sends what is queued, then ends the sending direction; receiving goes on.
    void ShutdownSend();
    void Close();
    void SetKeepAlive(bool on);
    bool isOpen() const { return socket_ != nullptr; }

signals:
    // After OnConnect and OnClose have run, for whatever watches the connection's life.
    void connectFinished(int error);
    void closed();

protected:
    virtual void OnConnect(int error);
    virtual void OnReceive(int error);
    virtual void OnClose(int error);

private:
    enum class Phase { Idle, Connecting, Connected, Failed, Ended };

    void wire(QTcpSocket* socket);
    void handleConnected(QTcpSocket* socket);
    void handleError(QTcpSocket* socket, int code);
    void handleEnd(QTcpSocket* socket, int error);
    void handleBytesWritten(QTcpSocket* socket);
    void giveUpConnect();
    void postConnectOutcome(int error);
    void schedulePump();
    void pumpFromNotification();
    void pump();
    bool isCurrent(QTcpSocket* socket) const { return socket != nullptr && socket == socket_; }
    void shutdownSendNow();
    void holdReadsForAFrame();
    void setReadLowWater(int bytes);

    QTcpSocket* socket_ = nullptr;
    quint64 generation_ = 0;
    Phase phase_ = Phase::Idle;
    bool pumpPosted_ = false;
    bool pumping_ = false;
    bool readSinceNotify_ = false;
    bool closeDelivered_ = false;
    bool shutdownPending_ = false;
    // Set once the sending direction is shut down: later sends fail at once, as a platform socket's
    // do, instead of making Qt abort the connection and lose what the peer still sends.
    bool sendShut_ = false;
    int closeError_ = 0;
    QTimer connectTimer_;
    // Runs while reads are held back for the rest of a frame.
    QTimer readPacer_;
};

}  // namespace quendra
