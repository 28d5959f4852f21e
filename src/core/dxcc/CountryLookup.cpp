#include "dxcc/CountryLookup.h"

#include <algorithm>
#include <array>

namespace quendra {

namespace {

// More parts than a location, the call, and two suffixes is not a call.
constexpr std::size_t kMaxCallParts = 4;

using CallText = std::array<char, kMaxCallLength>;

// Upper-cases the call into `out`; nothing for text that cannot be a call.
std::optional<std::string_view> normalised(std::string_view call, CallText& out) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!call.empty() && blank(call.front()))
        call.remove_prefix(1);
    while (!call.empty() && blank(call.back()))
        call.remove_suffix(1);
    if (call.empty() || call.size() > out.size())
        return std::nullopt;
    for (std::size_t i = 0; i < call.size(); ++i) {
        char c = call[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/'))
            return std::nullopt;
        out[i] = c;
    }
    return std::string_view(out.data(), call.size());
}

bool isIgnoredSuffix(std::string_view part) {
    static constexpr std::array<std::string_view, 7> kSuffixes{"P", "M", "A", "QRP", "QRPP", "LH", "B"};
    return std::find(kSuffixes.begin(), kSuffixes.end(), part) != kSuffixes.end();
}

bool isAreaDigit(std::string_view part) { return part.size() == 1 && part[0] >= '0' && part[0] <= '9'; }

}  // namespace

CountryLookup::CountryLookup(CountryFile file, ContestOnly contestOnly) : file_(std::move(file)) {
    for (std::uint32_t i = 0; i < file_.items.size(); ++i) {
        const CountryItem& item = file_.items[i];
        // The reader never gives such an item, but a table can be built by hand.
        if (item.entity >= file_.entities.size())
            continue;
        const bool contestItem = file_.entities[item.entity].contestOnly;
        if (contestItem && contestOnly == ContestOnly::Ignore)
            continue;
        Index& index = item.exactCall ? calls_ : prefixes_;
        const auto [place, added] = index.try_emplace(item.text, i);
        // The first item for a text wins, except that a contest-only entity, when taken in,
        // wins over the DXCC entity that repeats its text.
        if (!added && contestItem && !file_.entities[file_.items[place->second].entity].contestOnly)
            place->second = i;
        if (!item.exactCall)
            longestPrefix_ = std::max(longestPrefix_, item.text.size());
    }
}

const CountryEntity* CountryLookup::entity(const CountryMatch& match) const {
    if (match.entityIndex < 0 || static_cast<std::size_t>(match.entityIndex) >= file_.entities.size())
        return nullptr;
    return &file_.entities[static_cast<std::size_t>(match.entityIndex)];
}

CountryMatch CountryLookup::matchOf(const CountryItem& item) const {
    const CountryEntity& entity = file_.entities[item.entity];
    const CountryOverrides& over = item.overrides;
    return CountryMatch{static_cast<int>(item.entity),
                        over.cqZone.value_or(entity.cqZone),
                        over.ituZone.value_or(entity.ituZone),
                        over.continent.value_or(entity.continent),
                        over.position.value_or(entity.position),
                        over.utcOffsetHours.value_or(entity.utcOffsetHours)};
}

const CountryItem* CountryLookup::exactCall(std::string_view call) const {
    const auto found = calls_.find(call);
    return found == calls_.end() ? nullptr : &file_.items[found->second];
}

const CountryItem* CountryLookup::longestPrefix(std::string_view call) const {
    for (std::size_t length = std::min(call.size(), longestPrefix_); length > 0; --length) {
        const auto found = prefixes_.find(call.substr(0, length));
        if (found != prefixes_.end())
            return &file_.items[found->second];
    }
    return nullptr;
}

CountryMatch CountryLookup::find(std::u16string_view call) const {
    // Blanks around a call are few; a text this long is garbage whatever it holds.
    std::array<char, kMaxCallLength * 4> narrow{};
    if (call.size() > narrow.size())
        return {};
    for (std::size_t i = 0; i < call.size(); ++i) {
        if (call[i] == 0 || call[i] > 0x7e)
            return {};
        narrow[i] = static_cast<char>(call[i]);
    }
    return find(std::string_view(narrow.data(), call.size()));
}

CountryMatch CountryLookup::find(std::string_view call) const {
    CallText text;
    const auto whole = normalised(call, text);
    if (!whole)
        return {};
    return locate(*whole);
}

CountryMatch CountryLookup::locate(std::string_view call) const {
    if (const CountryItem* item = exactCall(call))
        return matchOf(*item);

    std::array<std::string_view, kMaxCallParts> parts;
    std::size_t count = 0;
    for (std::size_t start = 0; start <= call.size();) {
        const std::size_t end = std::min(call.find('/', start), call.size());
        if (end > start) {
            if (count == parts.size())
                return {};
            parts[count++] = call.substr(start, end - start);
        }
        start = end + 1;
    }
    if (count == 0)
        return {};

    // Suffixes that say how or where the station works, from the end.
    char areaDigit = '\0';
    while (count > 1) {
        const std::string_view last = parts[count - 1];
        if (last == "MM" || last == "AM")
            return {};
        if (isIgnoredSuffix(last)) {
            --count;
        } else if (isAreaDigit(last) && areaDigit == '\0') {
            areaDigit = last[0];
            --count;
        } else {
            break;
        }
    }

    // A listed call keeps its country when only suffixes were taken off ("=GB2ELH" for
    // GB2ELH/P); the text is contiguous unless the call held empty parts, which no entry has.
    const char* keptEnd = parts[count - 1].data() + parts[count - 1].size();
    const std::string_view kept(parts[0].data(), static_cast<std::size_t>(keptEnd - parts[0].data()));
    if (kept.size() != call.size() && areaDigit == '\0') {
        if (const CountryItem* item = exactCall(kept))
            return matchOf(*item);
    }

    const CountryItem* item = nullptr;
    if (count == 1) {
        std::string_view base = parts[0];
        CallText moved;
        if (areaDigit != '\0') {
            // The call area is the last digit of a call: ZZ1AB/3 works as ZZ3AB.
            std::copy(base.begin(), base.end(), moved.begin());
            const std::size_t digit = base.find_last_of("0123456789");
            if (digit != std::string_view::npos)
                moved[digit] = areaDigit;
            base = std::string_view(moved.data(), base.size());
        }
        item = longestPrefix(base);
    } else {
        const std::string_view first = parts[0];
        const std::string_view second = parts[1];
        if (first.size() <= second.size()) {
            item = longestPrefix(first);
            if (item == nullptr)
                item = longestPrefix(second);
        } else {
            item = longestPrefix(second);
            if (item == nullptr)
                item = longestPrefix(first);
        }
    }
    return item == nullptr ? CountryMatch{} : matchOf(*item);
}

}  // namespace quendra
