#include "alerts/WatchList.h"

#include "dxcc/CountryLookup.h"
#include "filters/NamedValues.h"
#include "settings/SettingsCatalogue.h"
#include "text/CaseFold.h"
#include "text/Numbers.h"

#include <algorithm>

namespace quendra {
namespace {

constexpr std::size_t kMaxTargetLength = 100;
// Keeps every literal run of a pattern countable in a 32-bit set of lengths.
constexpr std::size_t kMaxPatternLength = 31;

bool isBlank(char16_t ch) { return ch == u' ' || ch == u'\t'; }
bool isLetter(char16_t ch) { return ch >= u'A' && ch <= u'Z'; }
bool isCallCharacter(char16_t ch) { return isLetter(ch) || isDecimalDigit(ch) || ch == u'/'; }
bool isWildcard(char16_t ch) { return ch == u'*' || ch == u'?'; }
char asciiUpper(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch; }

std::string narrowed(std::u16string_view text) {
    std::string out;
    for (char16_t ch : text)
        out += ch < 0x80 ? static_cast<char>(ch) : '?';
    return out;
}

std::vector<std::u16string_view> words(std::u16string_view text) {
    std::vector<std::u16string_view> out;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isBlank(text[at]))
            ++at;
        const std::size_t start = at;
        while (at < text.size() && !isBlank(text[at]))
            ++at;
        if (at > start)
            out.push_back(text.substr(start, at - start));
    }
    return out;
}

// Reads "bands=..." or "modes=..." into the entry; an error text, or "" when it was taken.
std::string readOption(std::u16string_view option, WatchEntry& entry) {
    const std::size_t equals = option.find(u'=');
    const std::u16string_view name = option.substr(0, equals);
    const std::u16string_view value = option.substr(equals + 1);
    const bool bands = equalsIgnoringCase(name, "bands");
    if (!bands && !equalsIgnoringCase(name, "modes"))
        return "unknown option \"" + narrowed(name) + "\" (bands= or modes=)";
    std::string error;
    bool any = false;
    forEachListItem(value, [&](std::u16string_view item) {
        any = true;
        if (!error.empty())
            return;
        if (bands) {
            if (const auto band = bandIndexFromName(item))
                entry.bands |= 1u << *band;
            else
                error = "unknown band \"" + narrowed(item) + "\"";
        } else if (const auto group = modeGroupFromName(item)) {
            entry.modeGroups |= 1u << static_cast<int>(*group);
        } else if (const auto mode = modeFromName(item)) {
            entry.modes |= 1u << static_cast<int>(*mode);
        } else {
            error = "unknown mode \"" + narrowed(item) + "\"";
        }
    });
    if (error.empty() && !any)
        error = "\"" + narrowed(name) + "=\" names nothing";
    return error;
}

std::string classifyTarget(std::u16string target, const CountryLookup* countries, WatchEntry& entry) {
    if (target.size() > kMaxTargetLength)
        return "the entry is too long";
    std::u16string upper = target;
    foldToUpper(upper);
    if (std::any_of(upper.begin(), upper.end(), isWildcard)) {
        if (!std::all_of(upper.begin(), upper.end(), [](char16_t ch) { return isCallCharacter(ch) || isWildcard(ch); }))
            return "a call pattern holds only letters, digits, '/', '*' and '?'";
        if (upper.size() > kMaxPatternLength)
            return "a call pattern has at most 31 characters";
        if (std::all_of(upper.begin(), upper.end(), [](char16_t ch) { return ch == u'*'; }))
            return "a pattern of '*' alone would match every station";
        entry.kind = WatchEntry::Kind::Pattern;
        entry.target = std::move(upper);
        return {};
    }
    if (upper == u"NEEDED") {
        entry.kind = WatchEntry::Kind::Needed;
        entry.target = std::move(upper);
        return {};
    }
    if (const auto continent = continentFromName(upper)) {
        entry.kind = WatchEntry::Kind::Continent;
        entry.continent = *continent;
        entry.target = std::move(upper);
        return {};
    }
    const bool callShape = std::all_of(upper.begin(), upper.end(), isCallCharacter) &&
                           std::any_of(upper.begin(), upper.end(), isDecimalDigit) &&
                           std::any_of(upper.begin(), upper.end(), isLetter);
    if (callShape) {
        entry.kind = WatchEntry::Kind::Call;
        entry.target = std::move(upper);
        return {};
    }
    if (countries) {
        const std::string name = narrowed(target);
        const auto& entities = countries->entities();
        const bool known = std::any_of(entities.begin(), entities.end(), [&](const CountryEntity& entity) {
            return entity.name.size() == name.size() &&
                   std::equal(name.begin(), name.end(), entity.name.begin(),
                              [](char a, char b) { return asciiUpper(a) == asciiUpper(b); });
        });
        if (!known)
            return "\"" + name + "\" is neither a call, a pattern, a continent nor a country the country file knows";
    }
    entry.kind = WatchEntry::Kind::Country;
    entry.target = std::move(target);
    return {};
}

}  // namespace

bool WatchEntry::acceptsBandAndMode(const SpotFacts& facts) const {
    if (bands != 0 && (facts.band < 0 || (bands & (1u << facts.band)) == 0))
        return false;
    if (modes == 0 && modeGroups == 0)
        return true;
    return (modes & (1u << static_cast<int>(facts.mode))) != 0 ||
           (modeGroups & (1u << static_cast<int>(facts.modeGroup))) != 0;
}

WatchEntryResult parseWatchEntry(std::u16string_view text, const CountryLookup* countries) {
    WatchEntry entry;
    std::u16string target;
    std::vector<std::u16string> options;
    for (std::u16string_view word : words(text)) {
        if (word.find(u'=') != std::u16string_view::npos) {
            options.emplace_back(word);
        } else if (!options.empty()) {
            // "bands=20m, 40m": a list may go on after a blank that follows its comma.
            if (options.back().back() != u',' && word.front() != u',')
                return {std::nullopt, "\"" + narrowed(word) + "\" after the options is not an option"};
            options.back() += word;
        } else {
            if (!target.empty())
                target += u' ';  // a country's name may have several words
            target += word;
        }
    }
    if (target.empty())
        return {std::nullopt, "the entry names no call, pattern, country or continent"};
    if (std::string error = classifyTarget(std::move(target), countries, entry); !error.empty())
        return {std::nullopt, std::move(error)};
    for (const std::u16string& option : options) {
        if (std::string error = readOption(option, entry); !error.empty())
            return {std::nullopt, std::move(error)};
    }
    return {std::move(entry), {}};
}

bool matchesCallPattern(std::u16string_view pattern, std::u16string_view call) {
    // Greedy with one backtrack point: the last '*' seen, which is all a glob needs.
    std::size_t p = 0, c = 0, starAt = std::u16string_view::npos, starCall = 0;
    while (c < call.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == call[c])) {
            ++p;
            ++c;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            starCall = c;
        } else if (starAt != std::u16string_view::npos) {
            p = starAt + 1;
            c = ++starCall;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

std::size_t WatchList::CaseFreeHash::operator()(std::string_view text) const {
    std::size_t hash = 14695981039346656037ULL;
    for (char ch : text)
        hash = (hash ^ static_cast<unsigned char>(asciiUpper(ch))) * 1099511628211ULL;
    return hash;
}

bool WatchList::CaseFreeEqual::operator()(std::string_view a, std::string_view b) const {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiUpper(x) == asciiUpper(y); });
}

void WatchList::add(WatchEntry entry) {
    const int index = size();
    switch (entry.kind) {
    case WatchEntry::Kind::Call:
        calls_[entry.target].push_back(index);
        break;
    case WatchEntry::Kind::Pattern: {
        const std::u16string& pattern = entry.target;
        const std::size_t firstWildcard = pattern.find_first_of(u"*?");
        const std::size_t lastWildcard = pattern.find_last_of(u"*?");
        if (firstWildcard > 0) {
            patternsByStart_[pattern.substr(0, firstWildcard)].push_back(index);
            startLengths_ |= 1u << firstWildcard;
        } else if (lastWildcard + 1 < pattern.size()) {
            patternsByEnd_[pattern.substr(lastWildcard + 1)].push_back(index);
            endLengths_ |= 1u << (pattern.size() - lastWildcard - 1);
        } else {
            patternsAnywhere_.push_back(index);
        }
        break;
    }
    case WatchEntry::Kind::Country:
        countries_[narrowed(entry.target)].push_back(index);
        break;
    case WatchEntry::Kind::Continent:
        continents_[static_cast<std::size_t>(entry.continent)].push_back(index);
        break;
    case WatchEntry::Kind::Needed:
        needed_.push_back(index);
        break;
    }
    entries_.push_back(std::move(entry));
}

void WatchList::clear() { *this = WatchList(); }

void WatchList::consider(const Bucket& bucket, const SpotFacts& facts, int& best) const {
    for (int index : bucket) {
        if (best >= 0 && index >= best)
            return;  // buckets are in entry order
        const WatchEntry& entry = entries_[static_cast<std::size_t>(index)];
        if (!entry.acceptsBandAndMode(facts))
            continue;
        if (entry.kind == WatchEntry::Kind::Pattern && !matchesCallPattern(entry.target, facts.station))
            continue;
        best = index;
        return;
    }
}

void WatchList::considerPatterns(const SpotFacts& facts, int& best) const {
    const std::u16string_view station = facts.station;
    // No literal run of a pattern is longer than the pattern itself.
    const std::size_t longest = std::min(station.size(), kMaxPatternLength);
    for (std::size_t length = 1; startLengths_ != 0 && length <= longest; ++length) {
        if ((startLengths_ & (1u << length)) != 0) {
            if (auto found = patternsByStart_.find(station.substr(0, length)); found != patternsByStart_.end())
                consider(found->second, facts, best);
        }
    }
    for (std::size_t length = 1; endLengths_ != 0 && length <= longest; ++length) {
        if ((endLengths_ & (1u << length)) != 0) {
            if (auto found = patternsByEnd_.find(station.substr(station.size() - length)); found != patternsByEnd_.end())
                consider(found->second, facts, best);
        }
    }
    consider(patternsAnywhere_, facts, best);
}

int WatchList::firstMatch(const SpotFacts& facts) const {
    int best = -1;
    const std::u16string_view station = facts.station;
    if (!calls_.empty() && !station.empty()) {
        if (auto found = calls_.find(facts.station); found != calls_.end())
            consider(found->second, facts, best);
        // A watched call is also found under a portable form: ZZ1AB/P, ZY/ZZ1AB.
        if (station.find(u'/') != std::u16string_view::npos) {
            std::size_t start = 0;
            while (start <= station.size()) {
                const std::size_t slash = std::min(station.find(u'/', start), station.size());
                if (slash - start >= 3) {
                    if (auto found = calls_.find(station.substr(start, slash - start)); found != calls_.end())
                        consider(found->second, facts, best);
                }
                start = slash + 1;
            }
        }
    }
    considerPatterns(facts, best);
    if (!facts.country.empty() && !countries_.empty()) {
        if (auto found = countries_.find(std::string_view(facts.country)); found != countries_.end())
            consider(found->second, facts, best);
    }
    const auto continent = static_cast<std::size_t>(facts.dxContinent);
    if (facts.dxContinent != Continent::Unknown && continent < continents_.size())
        consider(continents_[continent], facts, best);
    if (facts.needed)
        consider(needed_, facts, best);
    return best;
}

WatchList::Loaded WatchList::load(Settings& settings, const CountryLookup* countries) {
    Loaded loaded;
    for (int n = 0;; ++n) {
        const std::u16string text = settings.GetProfileString(setting::kWatchEntry.section, setting::kWatchEntry.entry(n));
        if (trimBlanks(text).empty())
            break;
        WatchEntryResult result = parseWatchEntry(text, countries);
        if (result.entry)
            loaded.list.add(std::move(*result.entry));
        else
            loaded.problems.push_back({n, std::move(result.error)});
        loaded.texts.push_back(text);
    }
    return loaded;
}

void WatchList::save(Settings& settings, std::span<const std::u16string> texts) {
    const auto& family = setting::kWatchEntry;
    int n = 0;
    for (const std::u16string& text : texts) {
        if (!trimBlanks(text).empty())
            settings.WriteProfileString(family.section, family.entry(n++), text);
    }
    // The list ends at the first empty value; clear what a longer list left behind it.
    for (; !settings.GetProfileString(family.section, family.entry(n)).empty(); ++n)
        settings.WriteProfileString(family.section, family.entry(n), u"");
}

}  // namespace quendra
