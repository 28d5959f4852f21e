#include "links/PortReply.h"

#include "text/Numbers.h"

namespace quendra {

std::int32_t portCountFromReply(std::u16string_view reply) {
    const auto start = reply.find_first_not_of(u';');
    if (start == std::u16string_view::npos)
        return 0;
    const auto rest = reply.substr(start);
    return readLeadingInt(rest.substr(0, rest.find(u';')));
}

}  // namespace quendra
