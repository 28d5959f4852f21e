#pragma once

#include "links/EngineReader.h"
#include "links/Link.h"
#include "links/LinkOwner.h"
#include "platform/AsyncSocket.h"

#include <cstdint>

namespace quendra {

class Settings;

// The link to the packet engine: asks for its ports, switches monitoring on and hands every
// monitored frame to the owner as text; sends typed lines as unproto frames.
class NorrvelSocket : public AsyncSocket, public Link, private FrameSink {
    Q_OBJECT

public:
    static constexpr int kMaxEnginePorts = 256;

    explicit NorrvelSocket(Settings& settings, QObject* parent = nullptr);
    ~NorrvelSocket() override;

    void setMainWindow(LinkOwner* owner) { owner_ = owner; }
    // Connects to the engine named in the settings. An attempt still pending is given up first:
    // only one connection to the engine exists at a time.
    void ConnectEngine();
    // One 'M' frame on the port; call signs longer than 9 characters are cut to 9.
    void SendUnproto(const std::uint8_t* data, int length, const char* fromCall, const char* toCall, int port);
    int portCount() const { return portCount_; }

    int connected() const override { return connected_; }
    void connectLink() override { ConnectEngine(); }
    void shutDown() override { ShutdownSend(); }
    // One unproto frame to "CQ" from the station's call sign on every port the engine reported.
    void sendTyped(std::string_view bytes) override;

protected:
    void OnConnect(int error) override;
    void OnReceive(int error) override;
    void OnClose(int error) override;

private:
    void onFrame(const FrameHeader& header, std::span<const std::uint8_t> data) override;
    void sendFrame(const FrameHeader& header, std::span<const std::uint8_t> data);
    void handlePortReply(std::span<const std::uint8_t> data);
    void routeMonitored(const FrameHeader& header, std::span<const std::uint8_t> data, int tFlag);
    void reportStateChange();

    Settings& settings_;
    LinkOwner* owner_ = nullptr;
    int portCount_ = 0;
    int connected_ = 0;
    EngineReader reader_;
};

}  // namespace quendra
