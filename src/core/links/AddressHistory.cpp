#include "links/AddressHistory.h"

#include <climits>

namespace quendra {
namespace {

constexpr std::u16string_view kSection = u"STATUS";
constexpr std::u16string_view kLastEntry = u"TELNET";

}  // namespace

std::u16string AddressHistory::entryName(int index) {
    std::u16string name = u"TELENETADR";
    const std::string digits = std::to_string(index);
    name.append(digits.begin(), digits.end());
    return name;
}

// The history grows by one entry per confirmed address and is never trimmed: the user decides
// what it holds, and one entry per connection made by hand stays small.
std::vector<std::u16string> AddressHistory::entries() {
    std::vector<std::u16string> found;
    for (int index = 0; index < INT_MAX; ++index) {
        std::u16string entry = settings_.GetProfileString(kSection, entryName(index));
        if (entry.empty())
            break;
        found.push_back(std::move(entry));
    }
    return found;
}

int AddressHistory::firstFreeIndex() {
    int index = 0;
    while (index < INT_MAX && !settings_.GetProfileString(kSection, entryName(index)).empty())
        ++index;
    return index;
}

std::u16string AddressHistory::lastConfirmed() {
    return settings_.GetProfileString(kSection, kLastEntry);
}

void AddressHistory::record(std::u16string_view text) {
    settings_.WriteProfileString(kSection, kLastEntry, text);
    settings_.WriteProfileString(kSection, entryName(firstFreeIndex()), text);
}

}  // namespace quendra
