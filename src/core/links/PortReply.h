#pragma once

#include <cstdint>
#include <string_view>

namespace quendra {

// The number of engine ports in the engine's port-information reply: the first non-empty
// ';'-separated field read as a decimal integer. A reply with no field, or whose first field does
// not start with a number, gives 0.
std::int32_t portCountFromReply(std::u16string_view reply);

}  // namespace quendra
