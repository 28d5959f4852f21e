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
    if (port < 1 || port > 65535)
        return;
    Connect(host, static_cast<quint16>(port));
}

void TelnetSocket::OnConnect(int error) {
    if (error != 0) {
        Close();
        return;
    }
    connected_ = 1;
    SetKeepAlive(true);
    if (owner_)
        owner_->RouteTelnetText(kConnected, static_cast<int>(kConnected.size()));
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
    if (owner_)
        owner_->RouteTelnetText(kDisconnected, static_cast<int>(kDisconnected.size()));
}

}  // namespace quendra
