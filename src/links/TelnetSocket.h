#pragma once

#include "links/Link.h"
#include "links/LinkOwner.h"
#include "platform/AsyncSocket.h"

namespace quendra {

// The plain TCP link to a DX cluster node. Every byte the node sends reaches the owner as text,
// read by read; the link adds only its two status lines.
class TelnetSocket : public AsyncSocket, public Link {
    Q_OBJECT

public:
    static constexpr int kReadSize = 1000;
    static constexpr int kDrainReadSize = 50;

    explicit TelnetSocket(QObject* parent = nullptr);
    ~TelnetSocket() override;

    void setMainWindow(LinkOwner* owner) { owner_ = owner; }
    // Starts connecting; the outcome arrives as a notification. A session still open is ended
    // first, with its "***Disconnected. " line.
    void ConnectTo(const QString& host, int port);
    // The node that connectLink() reaches.
    void setAddress(const QString& host, int port);

    int connected() const override { return connected_; }
    void connectLink() override;
    void shutDown() override { ShutdownSend(); }
    void sendTyped(std::string_view bytes) override;

protected:
    void OnConnect(int error) override;
    void OnReceive(int error) override;
    void OnClose(int error) override;

private:
    void reportStatus(std::u16string_view text);
    void endSession();

    QString host_;
    int port_ = 0;
    int connected_ = 0;
    LinkOwner* owner_ = nullptr;
};

}  // namespace quendra
