#include "links/TelnetSocket.h"

#include "text/CodePage.h"

#include <algorithm>
#include <array>
#include <string>
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
    if (!owner_)
        return;
    // Telnet sends a bare CR as CR NUL, and nodes pad with NULs. A NUL carries no text; ending the
    // text at the first one would lose every line after it in the same read.
    std::string text;
    std::remove_copy(buffer.begin(), buffer.begin() + count, std::back_inserter(text), '\0');
    owner_->RouteTelnetText(decodeWindows1252(text), count);
}

void TelnetSocket::OnClose(int) {
    connected_ = 0;
    Close();
    if (owner_)
        owner_->RouteTelnetText(kDisconnected, static_cast<int>(kDisconnected.size()));
}

}  // namespace quendra
