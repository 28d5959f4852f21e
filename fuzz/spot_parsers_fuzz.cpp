// Both spot parsers on arbitrary lines, with appends, expiry and reads in between, under a clock
// that moves only when the input says so.
#include "FuzzCheck.h"
#include "settings/MemorySettings.h"
#include "spots/SpotStore.h"
#include "support/ManualClock.h"

#include <memory>

using quendra::testing::ManualClock;

namespace {

enum class Step { Column, Timed, Append, Expire, Read, kMaxValue = Read };

void checkReads(quendra::SpotStore& store, int index) {
    const bool inRange = index >= 0 && index < store.count();
    std::u16string text;
    FUZZ_CHECK(store.getDxNode(index, text) == inRange);
    FUZZ_CHECK(store.getStation(index, text) == inRange);
    FUZZ_CHECK(store.getAuthor(index, text) == inRange);
    FUZZ_CHECK(store.getFrequency(index, text) == inRange);
    FUZZ_CHECK(store.getInfo(index, text) == inRange);
    FUZZ_CHECK(store.getGmt(index, text) == inRange);
    if (inRange)
        (void)store.frequencyKHzAt(index);
}

void checkStored(quendra::SpotStore& store, int result, int countBefore) {
    if (result < 0) {
        FUZZ_CHECK(result == -1);
        FUZZ_CHECK(store.count() == countBefore);
        return;
    }
    FUZZ_CHECK(store.count() == countBefore + 1);
    FUZZ_CHECK(result == store.count() - 1);
    checkReads(store, result);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    quendra::MemorySettings settings;
    if (input.ConsumeBool())
        settings.WriteProfileInt(u"SETTINGS\\DXCLUSTER", u"MAXTIME", input.ConsumeIntegral<int>());
    ManualClock clock;
    quendra::SpotStore store(settings, clock);

    for (int steps = 0; steps < 64 && input.remaining_bytes() > 0; ++steps) {
        const int before = store.count();
        switch (input.ConsumeEnum<Step>()) {
        case Step::Column: {
            const auto node = fuzzing::consumeText(input, 24);
            checkStored(store, store.parseColumnSpot(fuzzing::consumeText(input), node), before);
            break;
        }
        case Step::Timed: {
            const auto node = fuzzing::consumeText(input, 24);
            checkStored(store, store.parseTimedSpot(fuzzing::consumeText(input), node), before);
            break;
        }
        case Step::Append: {
            auto spot = std::make_unique<quendra::Spot>();
            spot->station = fuzzing::consumeText(input, 24);
            spot->frequency = fuzzing::consumeText(input, 24);
            spot->received = clock.now();
            if (!store.isDuplicate(*spot))
                checkStored(store, store.append(std::move(spot)), before);
            break;
        }
        case Step::Expire:
            clock.advance(input.ConsumeIntegralInRange<std::int64_t>(-86400, 3 * 86400));
            FUZZ_CHECK(store.expireSpots() == before - store.count());
            break;
        case Step::Read:
            checkReads(store, input.ConsumeIntegralInRange<int>(-2, store.count() + 1));
            break;
        }
    }
    (void)quendra::SpotStore::frequencyValue(fuzzing::consumeText(input));
    return 0;
}
