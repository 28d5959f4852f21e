#include "links/TelnetSocket.h"

#include "text/CodePage.h"

#include <array>
#include <string_view>

namespace quendra {
namespace {

constexpr std::u16string_view kConnected = u"***Connected. \r\n";
constexpr std::u16string_view kDisconnected = u"***Disconnected. \r\n";

}  // namespace

TelnetSocket::TelnetSocket(QObject* parent) : AsyncSocket(parent) {}

TelnetSocket::~TelnetSocket() {
    if (!isOpen())
        return;
    ShutdownSend();
    std::array<char, kDrainReadSize> discard;
    while (Receive(discard.data(), kDrainReadSize) > 0) {
    }
    Close();
}

void TelnetSocket::ConnectTo(const QString& host, int port) {
    endSession();
    Connect(host, port);
}

void TelnetSocket::setAddress(const QString& host, int port) {
    host_ = host;
    port_ = port;
}

void TelnetSocket::connectLink() {
    Create();
    ConnectTo(host_, port_);
}

void TelnetSocket::sendTyped(std::string_view bytes) {
    if (connected_ == 1)
        Send(bytes.data(), static_cast<int>(bytes.size()));
}

// A session replaced by a new attempt ends as if the node had closed it, so the flag never
// outlives the socket it stood for.
void TelnetSocket::endSession() {
    if (connected_ == 0)
        return;
    connected_ = 0;
    reportStatus(kDisconnected);
}

void TelnetSocket::OnConnect(int error) {
    if (error != 0) {
        connected_ = 0;
        Close();
        if (owner_)
            owner_->OnLinkStateChanged();
        return;
    }
    connected_ = 1;
    SetKeepAlive(true);
    reportStatus(kConnected);
}

void TelnetSocket::OnReceive(int) {
    std::array<char, kReadSize + 1> buffer;
    const int count = Receive(buffer.data(), kReadSize);
    if (count < 0)
        return;
    buffer[static_cast<std::size_t>(count)] = '\0';
    // A NUL byte (telnet's CR NUL, or line noise) is dropped rather than ending the text there:
    // ending it would lose every line after it in this read and glue the stream's pieces together.
    std::string bytes(buffer.data(), static_cast<std::size_t>(count));
    std::erase(bytes, '\0');
    if (owner_)
        owner_->RouteTelnetText(decodeWindows1252(bytes), count);
}

void TelnetSocket::OnClose(int) {
    connected_ = 0;
    Close();
    reportStatus(kDisconnected);
}

void TelnetSocket::reportStatus(std::u16string_view text) {
    if (!owner_)
        return;
    owner_->RouteTelnetStatus(text);
    owner_->OnLinkStateChanged();
}

}  // namespace quendra
