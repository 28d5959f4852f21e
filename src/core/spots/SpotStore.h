#pragma once

#include "settings/Settings.h"
#include "spots/Clock.h"
#include "spots/Spot.h"
#include "spots/SpotDetails.h"
#include "spots/SpotParsers.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// The one list of received spots, oldest first. It recognises spot announcements, drops
// duplicates, and ages spots out after SETTINGS\DXCLUSTER\MAXTIME seconds.
class SpotStore {
public:
    SpotStore(Settings& settings, const Clock& clock);
    ~SpotStore();
    SpotStore(const SpotStore&) = delete;
    SpotStore& operator=(const SpotStore&) = delete;

    // Each returns the new spot's index (count() - 1), or -1 when nothing was stored.
    int parseColumnSpot(std::u16string_view text, std::u16string_view dxNode);
    int parseTimedSpot(std::u16string_view text, std::u16string_view dxNode);

    // Stamps a parsed spot with the time now (or the time given) and the node it came from, and
    // appends it unless it is a duplicate; its index, or -1.
    int storeSpot(const ParsedSpot& parsed, std::u16string_view dxNode,
                  std::optional<SystemTime> received = std::nullopt);

    bool isDuplicate(const Spot& spot) const;
    int append(std::unique_ptr<Spot> spot);

    // Removes every spot older than MAXTIME in one pass, keeping arrival order; returns how many.
    int expireSpots();

    int count() const;
    // The current record is a cache that the getters read through; selecting one does not change
    // the list, so these are const.
    bool selectSpot(int index) const;
    bool getDxNode(int index, std::u16string& out) const;
    bool getStation(int index, std::u16string& out) const;
    bool getAuthor(int index, std::u16string& out) const;
    bool getFrequency(int index, std::u16string& out) const;
    bool getInfo(int index, std::u16string& out) const;
    bool getGmt(int index, std::u16string& out) const;
    void clearSpots();

    // Direct read access for views: no copy. index must be in [0, count()).
    const Spot& spotAt(int index) const;
    // frequencyValue of the spot's frequency, computed once when it was stored.
    double frequencyKHzAt(int index) const;
    // What the resolver made of the spot when it was stored (all unknown without a resolver).
    const SpotDetails& detailsAt(int index) const;
    // The resolver to ask for every spot from now on; the spots already stored are resolved
    // again with it. Not owned; nullptr for none.
    void setResolver(const SpotResolver* resolver);

    // A number that names the spot at index for as long as it is stored: serials grow in arrival
    // order and are never reused, so a feature can keep its own facts about a spot across age-outs
    // and refills, which move indexes. indexOfSerial gives -1 once that spot is gone.
    std::uint64_t serialAt(int index) const;
    int indexOfSerial(std::uint64_t serial) const;

    static double frequencyValue(std::u16string_view frequency);

private:
    SystemTime now() const;

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace quendra
