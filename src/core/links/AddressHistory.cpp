#include "links/AddressHistory.h"

#include "settings/SettingsCatalogue.h"

#include <climits>

namespace quendra {
namespace {

constexpr std::u16string_view kSection = setting::kTelnetAddressHistory.section;

}  // namespace

std::u16string AddressHistory::entryName(int index) {
    return setting::kTelnetAddressHistory.entry(index);
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
    return readSetting(settings_, setting::kLastTelnetAddress);
}

void AddressHistory::record(std::u16string_view text) {
    writeSetting(settings_, setting::kLastTelnetAddress, text);
    settings_.WriteProfileString(kSection, entryName(firstFreeIndex()), text);
}

}  // namespace quendra
