#include "share/LocalNode.h"

#include "share/NodeLines.h"
#include "share/NodeSession.h"
#include "spots/SpotStore.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace quendra {
namespace {

// The kernel keeps this much for a client on top of our own backlog.
constexpr int kSocketSendBuffer = 64 * 1024;
constexpr qint64 kReadPiece = 4096;

}  // namespace

class LocalNode::Client : public QObject {
public:
    Client(QTcpSocket* connection, QObject* parent) : QObject(parent), socket(connection) { socket->setParent(this); }
    QTcpSocket* socket;
    NodeSession session;
    bool gone = false;
};

LocalNode::LocalNode(const SpotStore& store, const Clock& clock, QObject* parent)
    : QObject(parent), store_(store), clock_(clock), server_(new QTcpServer(this)) {
    server_->setMaxPendingConnections(kMaxClients);
    connect(server_, &QTcpServer::newConnection, this, &LocalNode::accept);
}

LocalNode::~LocalNode() = default;

bool LocalNode::listen(const QHostAddress& address, quint16 port) { return server_->listen(address, port); }

QString LocalNode::errorString() const { return server_->errorString(); }

quint16 LocalNode::port() const { return server_->serverPort(); }

int LocalNode::clientCount() const { return static_cast<int>(clients_.size()); }

void LocalNode::accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        if (clientCount() >= kMaxClients) {
            socket->write("Too many users, try later\r\n");
            socket->disconnectFromHost();
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            continue;
        }
        socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSocketSendBuffer);
        // Qt reads no more than this ahead of the session, so a flooding client is read, judged
        // and dropped piece by piece instead of being buffered.
        socket->setReadBufferSize(kReadPiece);
        auto* client = new Client(socket, this);
        clients_.push_back(client);
        connect(socket, &QTcpSocket::readyRead, client, [this, client] {
            while (!client->gone && client->socket->bytesAvailable() > 0) {
                const QByteArray bytes = client->socket->read(kReadPiece);
                const auto listing = [this](int count) { return listingLines(store_, count); };
                const NodeSession::Answer answer =
                    client->session.receive(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                            clock_.now(), listing);
                send(client, answer.reply);
                if (answer.close && !client->gone) {
                    if (answer.why.empty()) {
                        client->socket->disconnectFromHost();
                    } else {
                        drop(client, answer.why.data());
                    }
                    return;
                }
            }
        });
        connect(socket, &QTcpSocket::disconnected, client, [this, client] { drop(client, nullptr); });
        // A client that never logs in would hold one of the few places for good.
        QTimer::singleShot(loginTimeout_, client, [this, client] {
            if (!client->session.loggedIn())
                drop(client, "it did not log in");
        });
        send(client, std::string(NodeSession::greeting()));
    }
}

void LocalNode::send(Client* client, const std::string& bytes) {
    if (client->gone || bytes.empty())
        return;
    client->socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (client->socket->bytesToWrite() > static_cast<qint64>(NodeSession::kMaxBacklog))
        drop(client, "it stopped reading");
}

void LocalNode::drop(Client* client, const char* why) {
    if (client->gone)
        return;
    client->gone = true;
    clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
    const QString peer = client->socket->peerAddress().toString() + QLatin1Char(':') +
                         QString::number(client->socket->peerPort());
    QObject::disconnect(client->socket, nullptr, client, nullptr);
    client->socket->abort();
    client->deleteLater();
    if (why)
        emit clientDropped(peer, QString::fromLatin1(why));
}

void LocalNode::announce(const std::string& line) {
    // Dropping a client changes the list: walk a copy.
    const std::vector<Client*> clients = clients_;
    for (Client* client : clients) {
        if (client->session.loggedIn())
            send(client, line);
    }
}

}  // namespace quendra
