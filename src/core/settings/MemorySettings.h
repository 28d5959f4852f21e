#pragma once

#include "settings/Settings.h"

#include <map>
#include <utility>
#include <variant>

namespace quendra {

// Settings kept in memory, for tests and for anything that must not touch the user's files.
// Values keep their type: an integer read of a string value yields the default, as it would from
// a real store whose value has the wrong type.
class MemorySettings : public Settings {
public:
    int GetProfileInt(std::u16string_view section, std::u16string_view entry, int def) override;
    std::u16string GetProfileString(std::u16string_view section, std::u16string_view entry,
                                    std::u16string_view def = {}) override;
    std::optional<std::vector<std::uint8_t>> GetProfileBinary(std::u16string_view section,
                                                              std::u16string_view entry) override;
    bool WriteProfileInt(std::u16string_view section, std::u16string_view entry, int value) override;
    bool WriteProfileString(std::u16string_view section, std::u16string_view entry,
                            std::u16string_view value) override;
    bool WriteProfileBinary(std::u16string_view section, std::u16string_view entry,
                            const std::vector<std::uint8_t>& data) override;

    // How many writes have been made, for tests that check what a window saves and how often.
    int writeCount() const { return writes_; }
    bool contains(std::u16string_view section, std::u16string_view entry) const;
    void remove(std::u16string_view section, std::u16string_view entry);

private:
    using Value = std::variant<int, std::u16string, std::vector<std::uint8_t>>;
    using Key = std::pair<std::u16string, std::u16string>;
    static Key keyOf(std::u16string_view section, std::u16string_view entry);
    const Value* find(std::u16string_view section, std::u16string_view entry) const;

    std::map<Key, Value> values_;
    int writes_ = 0;
};

}  // namespace quendra
