#include "settings/MemorySettings.h"

namespace quendra {

MemorySettings::Key MemorySettings::keyOf(std::u16string_view section, std::u16string_view entry) {
    return {std::u16string(section), std::u16string(entry)};
}

const MemorySettings::Value* MemorySettings::find(std::u16string_view section,
                                                  std::u16string_view entry) const {
    auto it = values_.find(keyOf(section, entry));
    return it == values_.end() ? nullptr : &it->second;
}

int MemorySettings::GetProfileInt(std::u16string_view section, std::u16string_view entry, int def) {
    const Value* value = find(section, entry);
    if (const int* number = value ? std::get_if<int>(value) : nullptr)
        return *number;
    return def;
}

std::u16string MemorySettings::GetProfileString(std::u16string_view section,
                                                std::u16string_view entry,
                                                std::u16string_view def) {
    const Value* value = find(section, entry);
    if (const auto* text = value ? std::get_if<std::u16string>(value) : nullptr)
        return *text;
    return std::u16string(def);
}

std::optional<std::vector<std::uint8_t>> MemorySettings::GetProfileBinary(
    std::u16string_view section, std::u16string_view entry) {
    const Value* value = find(section, entry);
    if (const auto* bytes = value ? std::get_if<std::vector<std::uint8_t>>(value) : nullptr)
        return *bytes;
    return std::nullopt;
}

bool MemorySettings::WriteProfileInt(std::u16string_view section, std::u16string_view entry,
                                     int value) {
    values_[keyOf(section, entry)] = value;
    ++writes_;
    return true;
}

bool MemorySettings::WriteProfileString(std::u16string_view section, std::u16string_view entry,
                                        std::u16string_view value) {
    values_[keyOf(section, entry)] = std::u16string(value);
    ++writes_;
    return true;
}

bool MemorySettings::WriteProfileBinary(std::u16string_view section, std::u16string_view entry,
                                        const std::vector<std::uint8_t>& data) {
    values_[keyOf(section, entry)] = data;
    ++writes_;
    return true;
}

bool MemorySettings::contains(std::u16string_view section, std::u16string_view entry) const {
    return find(section, entry) != nullptr;
}

void MemorySettings::remove(std::u16string_view section, std::u16string_view entry) {
    values_.erase(keyOf(section, entry));
}

}  // namespace quendra
