#include "spots/SpotStore.h"

#include "settings/SettingsCatalogue.h"
#include "spots/SpotKeyIndex.h"
#include "text/Numbers.h"

#include <algorithm>
#include <limits>

namespace quendra {
namespace {


// Frequency texts are converted through a buffer of 199 characters; a longer text is cut there
// rather than refused, so its leading number still places the spot in a band.
constexpr std::size_t kFrequencyChars = 199;

struct StoredSpot {
    std::unique_ptr<Spot> spot;
    double kHz = 0.0;
    std::int64_t stamp = 0;  // secondsSince1970(spot->received)
    std::uint64_t serial = 0;
    SpotDetails details;
};

// The age as the clock difference wraps in 32 bits: a stamp too far from now (either way) may
// read as young, exactly as the age has always been computed.
std::int32_t ageOf(std::int64_t now, std::int64_t stamp) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(now - stamp));
}

}  // namespace

struct SpotStore::Impl {
    Impl(Settings& s, const Clock& c) : settings(s), clock(c) {}

    Settings& settings;
    const Clock& clock;
    std::vector<StoredSpot> spots;  // arrival order; grows with the traffic until expiry
    SpotKeyIndex index;
    const SpotResolver* resolver = nullptr;
    Spot current;
    std::uint64_t nextSerial = 1;
    // Bounds of every stamp held, so an expiry run that cannot remove anything skips the walk.
    std::int64_t oldestStamp = std::numeric_limits<std::int64_t>::max();
    std::int64_t newestStamp = std::numeric_limits<std::int64_t>::min();

    bool noneCanExpire(std::int64_t now, int maxTime) const {
        if (spots.empty())
            return true;
        // Every age lies in [now - newest, now - oldest]; when that span needs no wrapping and
        // stays at or below maxTime, no record is older than the lifetime.
        return now - oldestStamp <= maxTime &&
               now - newestStamp >= std::numeric_limits<std::int32_t>::min();
    }

    void resetStampBounds() {
        oldestStamp = std::numeric_limits<std::int64_t>::max();
        newestStamp = std::numeric_limits<std::int64_t>::min();
    }

    void widenStampBounds(std::int64_t stamp) {
        oldestStamp = std::min(oldestStamp, stamp);
        newestStamp = std::max(newestStamp, stamp);
    }
};

SpotStore::SpotStore(Settings& settings, const Clock& clock)
    : impl_(std::make_unique<Impl>(settings, clock)) {}

SpotStore::~SpotStore() = default;

SystemTime SpotStore::now() const { return impl_->clock.now(); }

int SpotStore::parseColumnSpot(std::u16string_view text, std::u16string_view dxNode) {
    const auto parsed = parseColumnForm(text);
    return parsed ? storeSpot(*parsed, dxNode) : -1;
}

int SpotStore::parseTimedSpot(std::u16string_view text, std::u16string_view dxNode) {
    const auto parsed = parseTimedForm(text);
    return parsed ? storeSpot(*parsed, dxNode) : -1;
}

int SpotStore::storeSpot(const ParsedSpot& parsed, std::u16string_view dxNode,
                         std::optional<SystemTime> received) {
    auto spot = std::make_unique<Spot>(Spot{std::u16string(dxNode), parsed.station, parsed.author,
                                            parsed.frequency, parsed.info, parsed.gmt,
                                            received.value_or(now())});
    if (isDuplicate(*spot))
        return -1;
    return append(std::move(spot));
}

bool SpotStore::isDuplicate(const Spot& spot) const { return impl_->index.contains(spot); }

int SpotStore::append(std::unique_ptr<Spot> spot) {
    if (!spot)
        return -1;
    StoredSpot stored;
    stored.kHz = frequencyValue(spot->frequency);
    stored.stamp = secondsSince1970(spot->received);
    if (impl_->resolver)
        stored.details = impl_->resolver->resolve(*spot, stored.kHz);
    stored.spot = std::move(spot);
    stored.serial = impl_->nextSerial++;
    impl_->index.insert(*stored.spot);
    impl_->widenStampBounds(stored.stamp);
    impl_->spots.push_back(std::move(stored));
    return count() - 1;
}

int SpotStore::expireSpots() {
    // Read at every run: the lifetime may be changed from outside while the program runs.
    const int maxTime = readSetting(impl_->settings, setting::kSpotLifetimeSeconds);
    const std::int64_t now = secondsSince1970(impl_->clock.now());
    if (impl_->noneCanExpire(now, maxTime))
        return 0;

    auto& spots = impl_->spots;
    impl_->resetStampBounds();
    // One pass that keeps arrival order, however many records go.
    auto kept = std::remove_if(spots.begin(), spots.end(), [&](StoredSpot& stored) {
        if (ageOf(now, stored.stamp) > maxTime) {
            impl_->index.erase(*stored.spot);
            stored.spot.reset();
            return true;
        }
        impl_->widenStampBounds(stored.stamp);
        return false;
    });
    const auto removed = static_cast<int>(spots.end() - kept);
    spots.erase(kept, spots.end());
    return removed;
}

int SpotStore::count() const { return static_cast<int>(impl_->spots.size()); }

bool SpotStore::selectSpot(int index) const {
    if (index < 0 || index >= count())
        return false;
    impl_->current = *impl_->spots[static_cast<std::size_t>(index)].spot;
    return true;
}

namespace {

bool getField(const SpotStore& store, int index, std::u16string& out, std::u16string Spot::*field,
              const Spot& current) {
    if (!store.selectSpot(index))
        return false;
    out = current.*field;
    return true;
}

}  // namespace

bool SpotStore::getDxNode(int index, std::u16string& out) const {
    return getField(*this, index, out, &Spot::dxNode, impl_->current);
}
bool SpotStore::getStation(int index, std::u16string& out) const {
    return getField(*this, index, out, &Spot::station, impl_->current);
}
bool SpotStore::getAuthor(int index, std::u16string& out) const {
    return getField(*this, index, out, &Spot::author, impl_->current);
}
bool SpotStore::getFrequency(int index, std::u16string& out) const {
    return getField(*this, index, out, &Spot::frequency, impl_->current);
}
bool SpotStore::getInfo(int index, std::u16string& out) const {
    return getField(*this, index, out, &Spot::info, impl_->current);
}
bool SpotStore::getGmt(int index, std::u16string& out) const {
    return getField(*this, index, out, &Spot::gmt, impl_->current);
}

void SpotStore::clearSpots() {
    impl_->index.clear();
    impl_->spots.clear();
    impl_->resetStampBounds();
}

const Spot& SpotStore::spotAt(int index) const {
    return *impl_->spots[static_cast<std::size_t>(index)].spot;
}

const SpotDetails& SpotStore::detailsAt(int index) const {
    return impl_->spots[static_cast<std::size_t>(index)].details;
}

void SpotStore::setResolver(const SpotResolver* resolver) {
    impl_->resolver = resolver;
    for (StoredSpot& stored : impl_->spots)
        stored.details = resolver ? resolver->resolve(*stored.spot, stored.kHz) : SpotDetails{};
}

std::uint64_t SpotStore::serialAt(int index) const {
    return impl_->spots[static_cast<std::size_t>(index)].serial;
}

int SpotStore::indexOfSerial(std::uint64_t serial) const {
    // Age-out keeps arrival order, so the serials stay sorted.
    const auto& spots = impl_->spots;
    const auto found = std::lower_bound(spots.begin(), spots.end(), serial,
                                        [](const StoredSpot& stored, std::uint64_t wanted) {
                                            return stored.serial < wanted;
                                        });
    if (found == spots.end() || found->serial != serial)
        return -1;
    return static_cast<int>(found - spots.begin());
}

double SpotStore::frequencyKHzAt(int index) const {
    return impl_->spots[static_cast<std::size_t>(index)].kHz;
}

double SpotStore::frequencyValue(std::u16string_view frequency) {
    std::u16string copy(frequency.substr(0, kFrequencyChars));
    std::replace(copy.begin(), copy.end(), u',', u'.');
    return readLeadingDouble(copy);
}

}  // namespace quendra
