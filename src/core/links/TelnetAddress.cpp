#include "links/TelnetAddress.h"

#include "text/Numbers.h"

#include <algorithm>

namespace quendra {
namespace {

bool isPortSeparator(char16_t ch) { return ch == u'\r' || ch == u'\n' || ch == u' '; }

}  // namespace

TelnetAddress parseTelnetAddress(std::u16string_view text) {
    TelnetAddress address;
    std::size_t pos = text.find_first_not_of(u':');
    if (pos == std::u16string_view::npos)
        return address;
    const std::size_t hostEnd = std::min(text.find(u':', pos), text.size());
    address.host = std::u16string(text.substr(pos, std::min(hostEnd - pos, kMaxTelnetHostLength)));

    pos = hostEnd < text.size() ? hostEnd + 1 : text.size();
    while (pos < text.size() && isPortSeparator(text[pos]))
        ++pos;
    std::size_t portEnd = pos;
    while (portEnd < text.size() && !isPortSeparator(text[portEnd]))
        ++portEnd;
    const std::u16string_view portText = text.substr(pos, portEnd - pos);
    address.port = portText.empty() ? kDefaultTelnetPort : readLeadingInt(portText);
    return address;
}

}  // namespace quendra
