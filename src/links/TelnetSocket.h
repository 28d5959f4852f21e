#pragma once

#include "links/LinkOwner.h"
#include "platform/AsyncSocket.h"

namespace quendra {

// The plain TCP link to a DX cluster node. Every byte the node sends reaches the owner as text,
// read by read; the link adds only its two status lines.
class TelnetSocket : public AsyncSocket {
    Q_OBJECT

public:
    static constexpr int kReadSize = 1000;
    static constexpr int kDrainReadSize = 50;

    explicit TelnetSocket(QObject* parent = nullptr);
    ~TelnetSocket() override;

    void setMainWindow(LinkOwner* owner) { owner_ = owner; }
    // Starts connecting; the outcome arrives as a notification. A port outside 1..65535 cannot
    // be reached and is not tried.
    void ConnectTo(const QString& host, int port);
    int connected() const { return connected_; }

protected:
    void OnConnect(int error) override;
    void OnReceive(int error) override;
    void OnClose(int error) override;

private:
    int connected_ = 0;
    LinkOwner* owner_ = nullptr;
};

}  // namespace quendra
