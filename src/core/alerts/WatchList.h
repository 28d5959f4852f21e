#pragma once

#include "dxcc/Continent.h"
#include "filters/SpotFacts.h"
#include "settings/Settings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quendra {

class CountryLookup;

// One watched target as the user wrote it: a call ("ZZ1AB"), a call pattern with '*' for any
// run of characters and '?' for one ("ZZ1*", "ZZ?AB"), a country name as the country file spells
// it, a continent code, or the word "needed" (any spot the operator's log still needs); optionally followed by "bands=20m,40m" and "modes=CW,Phone" (mode
// names and mode groups may be mixed).
struct WatchEntry {
    enum class Kind : std::uint8_t { Call, Pattern, Country, Continent, Needed };
    Kind kind = Kind::Call;
    std::u16string target;  // upper case for calls and patterns, as written for a country
    Continent continent = Continent::Unknown;
    std::uint32_t bands = 0;       // bit per index of amateurBands(); 0: every band
    std::uint32_t modes = 0;       // bit per Mode
    std::uint32_t modeGroups = 0;  // bit per ModeGroup; with `modes` both 0: every mode

    bool acceptsBandAndMode(const SpotFacts& facts) const;
    bool operator==(const WatchEntry&) const = default;
};

struct WatchEntryResult {
    std::optional<WatchEntry> entry;
    std::string error;  // why the text was refused, for the user
};

// With `countries`, a name the country file does not know is refused rather than never matching.
WatchEntryResult parseWatchEntry(std::u16string_view text, const CountryLookup* countries = nullptr);

// '*' any run of characters (none included), '?' exactly one; everything else as itself.
bool matchesCallPattern(std::u16string_view pattern, std::u16string_view call);

// The watch list, indexed so that testing a spot costs a few hash probes and a look at the few
// patterns that can start like its call, however many entries there are. It never looks at the
// stored spots, only at the one being tested.
class WatchList {
public:
    void add(WatchEntry entry);
    void clear();
    int size() const { return static_cast<int>(entries_.size()); }
    const WatchEntry& entry(int index) const { return entries_[static_cast<std::size_t>(index)]; }

    // The lowest-numbered entry the spot matches, or -1.
    int firstMatch(const SpotFacts& facts) const;

    struct Problem {
        int index;  // n of ALERTS\WATCH<n>
        std::string error;
    };
    struct Loaded;
    // Reads ALERTS\WATCH0, WATCH1, ... up to the first missing or empty value; a refused entry is
    // reported and left out of the list, the others still load.
    static Loaded load(Settings& settings, const CountryLookup* countries = nullptr);
    // Writes the texts as WATCH0 ... and empties the values after them that a longer list left.
    static void save(Settings& settings, std::span<const std::u16string> texts);

private:
    struct CaseFreeHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const;
    };
    struct CaseFreeEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using Bucket = std::vector<int>;
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view text) const { return std::hash<std::u16string_view>{}(text); }
    };
    using TextIndex = std::unordered_map<std::u16string, Bucket, TextHash, std::equal_to<>>;

    void consider(const Bucket& bucket, const SpotFacts& facts, int& best) const;
    void considerPatterns(const SpotFacts& facts, int& best) const;

    std::vector<WatchEntry> entries_;
    TextIndex calls_;
    std::unordered_map<std::string, Bucket, CaseFreeHash, CaseFreeEqual> countries_;
    std::array<Bucket, 8> continents_;
    // Patterns by the letters before their first wildcard ("ZZ1" of "ZZ1*"), probed with each
    // beginning of the call; those that start with a wildcard by the letters after their last
    // ("/P" of "*/P"), probed with each ending. Only a pattern with neither ("*AB*") is tried for
    // every call.
    TextIndex patternsByStart_;
    TextIndex patternsByEnd_;
    std::uint32_t startLengths_ = 0;  // bit n: some pattern begins with n letters
    std::uint32_t endLengths_ = 0;
    Bucket patternsAnywhere_;
    Bucket needed_;
};

struct WatchList::Loaded {
    WatchList list;
    // Every stored text, refused ones included, so that saving the list back loses nothing the
    // user wrote; the list holds the accepted ones in the same order.
    std::vector<std::u16string> texts;
    std::vector<Problem> problems;  // index: into texts
};

}  // namespace quendra
