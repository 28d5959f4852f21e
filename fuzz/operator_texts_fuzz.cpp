// Texts that come from nodes or from the settings file and feed the additions: spot listings,
// call-sign prompts, watch entries and call patterns, filter lists, column lists, spot commands.
#include "FuzzCheck.h"
#include "alerts/WatchList.h"
#include "autolink/LoginPrompt.h"
#include "autolink/SpotCommand.h"
#include "autolink/SpotListing.h"
#include "filters/SpotFilter.h"
#include "spots/ExtraColumns.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quendra;
    FuzzedDataProvider input(data, size);
    const std::u16string first = fuzzing::consumeText(input, 1024);
    const std::u16string second = fuzzing::consumeText(input, 256);

    if (const auto listed = parseSpotListing(first)) {
        FUZZ_CHECK(!listed->spot.station.empty() && !listed->spot.frequency.empty());
        FUZZ_CHECK(listed->time.month >= 1 && listed->time.month <= 12);
    }
    LoginPrompt prompt;
    const bool once = prompt.feed(first);
    FUZZ_CHECK(!(once && prompt.feed(second)));

    const WatchEntryResult entry = parseWatchEntry(first);
    (void)entry;
    (void)matchesCallPattern(second, first);
    (void)parseBandList(first);
    (void)parseContinentList(second);

    const std::vector<ExtraColumn> columns = parseExtraColumns(first);
    FUZZ_CHECK(columns.size() <= static_cast<std::size_t>(kExtraColumnCount));
    FUZZ_CHECK(parseExtraColumns(extraColumnsText(columns)) == columns);
    for (int width : parseWidthList(second))
        FUZZ_CHECK(width >= -1);

    const SpotCommandResult command = buildSpotCommand(second, first, second);
    FUZZ_CHECK(command.ok() != command.command.empty());
    FUZZ_CHECK(command.command.find_first_of(u"\r\n") == std::u16string::npos);
    return 0;
}
