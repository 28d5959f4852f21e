// A country file as an operator might download a damaged one, then calls as spots bring them.
#include "FuzzCheck.h"
#include "dxcc/CountryLookup.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string text = input.ConsumeRandomLengthString(65536);
    const bool contestOnly = input.ConsumeBool();

    quendra::CountryFileResult result = quendra::parseCountryFile(text);
    if (!result.ok()) {
        FUZZ_CHECK(!result.error.message.empty());
        const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
        FUZZ_CHECK(result.error.line >= 0 && result.error.line <= lines);
        return 0;
    }
    FUZZ_CHECK(!result.file->entities.empty());
    for (const quendra::CountryItem& item : result.file->items) {
        FUZZ_CHECK(item.entity < result.file->entities.size());
        FUZZ_CHECK(!item.text.empty() && item.text.size() <= quendra::kMaxCallLength);
    }

    const quendra::CountryLookup lookup(std::move(*result.file),
                                        contestOnly ? quendra::CountryLookup::ContestOnly::Include
                                                    : quendra::CountryLookup::ContestOnly::Ignore);
    while (input.remaining_bytes() > 0) {
        const std::string call = input.ConsumeRandomLengthString(64);
        const quendra::CountryMatch match = lookup.find(call);
        FUZZ_CHECK(match.known() == (lookup.entity(match) != nullptr));
        if (match.known()) {
            FUZZ_CHECK(match.cqZone >= 1 && match.cqZone <= 40);
            FUZZ_CHECK(match.ituZone >= 1 && match.ituZone <= 90);
            FUZZ_CHECK(match.continent != quendra::Continent::Unknown);
        }
        // Blanks and case never change the answer.
        std::string loud = "  " + call + " ";
        std::transform(loud.begin(), loud.end(), loud.begin(),
                       [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 'a' - 'A') : c; });
        FUZZ_CHECK(lookup.find(loud).entityIndex == match.entityIndex ||
                   call.size() + 3 > quendra::kMaxCallLength);
    }
    return 0;
}
