#include "links/NorrvelSocket.h"

#include "platform/QtText.h"

#include <algorithm>

#include "links/PortReply.h"
#include "settings/SettingsCatalogue.h"
#include "text/CodePage.h"

#include <QString>

#include <string_view>

namespace quendra {
namespace {

// Lets the reader pull bytes through the socket's own Receive.
class SocketSource : public ByteSource {
public:
    explicit SocketSource(AsyncSocket& socket) : socket_(socket) {}
    int read(std::uint8_t* buffer, int maximum) override { return socket_.Receive(buffer, maximum); }

private:
    AsyncSocket& socket_;
};

FrameHeader requestHeader(char kind, std::string_view fromCall = {}, std::string_view toCall = {}) {
    FrameHeader header;
    header.kind = static_cast<std::uint8_t>(kind);
    header.fromCall = FrameHeader::callField(fromCall);
    header.toCall = FrameHeader::callField(toCall);
    return header;
}

std::string_view callText(const char* call) { return call ? std::string_view(call) : std::string_view(); }

std::string_view asText(std::span<const std::uint8_t> data) {
    return {reinterpret_cast<const char*>(data.data()), data.size()};
}

}  // namespace

NorrvelSocket::NorrvelSocket(Settings& settings, QObject* parent) : AsyncSocket(parent), settings_(settings) {}

NorrvelSocket::~NorrvelSocket() {
    if (connected_)
        Close();
}

void NorrvelSocket::ConnectEngine() {
    const std::u16string host = readSetting(settings_, setting::kEngineHost);
    const int port = readSetting(settings_, setting::kEnginePort);
    Create();
    connected_ = 0;
    reader_.reset();
    Connect(toQString(host), port);
}

void NorrvelSocket::SendUnproto(const std::uint8_t* data, int length, const char* fromCall, const char* toCall,
                                int port) {
    if (length < 0 || (data == nullptr && length > 0))
        return;
    FrameHeader header = requestHeader('M', callText(fromCall), callText(toCall));
    header.port = static_cast<std::uint32_t>(port);
    sendFrame(header, std::span<const std::uint8_t>(data, static_cast<std::size_t>(length)));
}

void NorrvelSocket::sendTyped(std::string_view bytes) {
    // The call sign is read afresh for every line, so a new one applies at once.
    const std::u16string call = readSetting(settings_, setting::kMyCall);
    if (connected_ == 0)
        return;
    const std::string fromCall = encodeWindows1252(call);
    const auto* payload = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (int port = 0; port < portCount_; ++port)
        SendUnproto(payload, static_cast<int>(bytes.size()), fromCall.c_str(), "CQ", port);
}

void NorrvelSocket::sendFrame(const FrameHeader& header, std::span<const std::uint8_t> data) {
    const std::vector<std::uint8_t> frame = encodeFrame(header, data);
    Send(frame.data(), static_cast<int>(frame.size()));
}

void NorrvelSocket::OnConnect(int error) {
    if (error != 0) {
        Close();
        reportStateChange();
        return;
    }
    connected_ = 1;
    SetKeepAlive(true);
    sendFrame(requestHeader('G'), {});
    reportStateChange();
}

void NorrvelSocket::OnReceive(int) {
    SocketSource source(*this);
    if (reader_.receive(source, *this) == EngineReader::Result::Desynchronised) {
        // The stream no longer splits into frames: nothing more from it can be trusted.
        connected_ = 0;
        Close();
        reportStateChange();
    }
}

void NorrvelSocket::OnClose(int) {
    connected_ = 0;
    Close();
    reader_.reset();
    reportStateChange();
}

void NorrvelSocket::reportStateChange() {
    if (owner_)
        owner_->OnLinkStateChanged();
}

void NorrvelSocket::onFrame(const FrameHeader& header, std::span<const std::uint8_t> data) {
    if (header.isKind('G'))
        handlePortReply(data);
    else if (header.isKind('I') || header.isKind('S') || header.isKind('U'))
        routeMonitored(header, data, 0);
    else if (header.isKind('T'))
        routeMonitored(header, data, 1);
}

void NorrvelSocket::handlePortReply(std::span<const std::uint8_t> data) {
    // A typed line goes out once per port; an engine has a handful of them. The bound keeps a
    // nonsensical reply (say two thousand million ports) from freezing the window on every line.
    portCount_ = std::min(portCountFromReply(decodeWindows1252UntilNul(asText(data))), kMaxEnginePorts);
    sendFrame(requestHeader('m', "TEST", "TEST"), {});
}

void NorrvelSocket::routeMonitored(const FrameHeader& header, std::span<const std::uint8_t> data, int tFlag) {
    if (!owner_)
        return;
    owner_->RouteMonitorText(decodeWindows1252UntilNul(asText(data)), static_cast<int>(data.size()),
                             static_cast<int>(header.port), 0, tFlag);
}

}  // namespace quendra
