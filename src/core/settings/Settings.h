#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// The program's persistent settings, addressed by section and entry. A section may be a path
// written with backslashes ("SETTINGS\TELNET"), which the stores keep as nested groups.
// Every read takes its default at the call site: a missing, unreadable or non-numeric value gives
// that default. Strings and bytes round-trip exactly, the empty string included.
class Settings {
public:
    virtual ~Settings() = default;
    virtual int GetProfileInt(std::u16string_view section, std::u16string_view entry, int def) = 0;
    virtual std::u16string GetProfileString(std::u16string_view section, std::u16string_view entry,
                                            std::u16string_view def = {}) = 0;
    virtual std::optional<std::vector<std::uint8_t>> GetProfileBinary(std::u16string_view section,
                                                                      std::u16string_view entry) = 0;
    virtual bool WriteProfileInt(std::u16string_view section, std::u16string_view entry, int value) = 0;
    virtual bool WriteProfileString(std::u16string_view section, std::u16string_view entry,
                                    std::u16string_view value) = 0;
    virtual bool WriteProfileBinary(std::u16string_view section, std::u16string_view entry,
                                    const std::vector<std::uint8_t>& data) = 0;
};

}  // namespace quendra
