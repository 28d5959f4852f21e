#pragma once

#include <QObject>

#include <chrono>

#include <string>
#include <vector>

class QHostAddress;
class QTcpServer;
class QTcpSocket;

namespace quendra {

class Clock;
class SpotStore;

// The local node's server: other programs connect, log in with any call and are sent every spot
// announced to it. Each client has its own session; what one client has not yet taken is kept
// up to NodeSession::kMaxBacklog, and a client past that is dropped at once, so a stuck client
// costs neither memory without bound nor the program's time.
class LocalNode : public QObject {
    Q_OBJECT
public:
    // Clients served at once; one more is told so and closed.
    static constexpr int kMaxClients = 64;

    LocalNode(const SpotStore& store, const Clock& clock, QObject* parent = nullptr);
    ~LocalNode() override;

    bool listen(const QHostAddress& address, quint16 port);
    QString errorString() const;
    quint16 port() const;

    // How long a client may take to log in before its place is given up (two minutes: time
    // enough for a person at a telnet prompt; a program logs in at once).
    void setLoginTimeout(std::chrono::milliseconds timeout) { loginTimeout_ = timeout; }

    // One announcement line, CR LF included, to every logged-in client.
    void announce(const std::string& line);
    int clientCount() const;

signals:
    void clientDropped(const QString& peer, const QString& why);

private:
    class Client;
    void accept();
    void drop(Client* client, const char* why);
    void send(Client* client, const std::string& bytes);

    const SpotStore& store_;
    const Clock& clock_;
    QTcpServer* server_;
    std::vector<Client*> clients_;
    std::chrono::milliseconds loginTimeout_{std::chrono::minutes(2)};
};

}  // namespace quendra
