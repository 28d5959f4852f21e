#include "app/StreamIntake.h"

#include "app/SpotDetection.h"
#include "app/SpotRouting.h"
#include "autolink/SpotListing.h"
#include "links/MonitorTokens.h"
#include "spots/SpotStore.h"

namespace quendra {
namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

}  // namespace

StreamIntake::StreamIntake(SpotStore& store) : store_(store) {}

IntakeOutcome StreamIntake::telnetText(std::u16string_view text, std::u16string_view nodeName) {
    IntakeOutcome outcome;
    // A node may leave a prompt ("login: ", "... >") without a line end and go on with a spot: a
    // read that starts like a spot starts a line of its own, so the prompt cannot swallow it.
    if (detectSpotForm(text) != SpotForm::None)
        endUnfinishedLine(outcome, nodeName);
    outcome.shown.push_back(text);
    for (const std::u16string& line : telnetLines_.feed(text))
        detectNodeLine(outcome, line, nodeName);
    return outcome;
}

IntakeOutcome StreamIntake::telnetStatus(std::u16string_view text, std::u16string_view nodeName) {
    IntakeOutcome outcome;
    endUnfinishedLine(outcome, nodeName);
    outcome.shown.push_back(text);
    return outcome;
}

IntakeOutcome StreamIntake::monitorFrame(std::u16string_view text, bool transmitted) {
    IntakeOutcome outcome;
    outcome.shown.push_back(text);
    if (transmitted)
        return outcome;
    if (const auto frame = tokenizeMonitorText(text)) {
        for (std::u16string_view line : frame->dataLines)
            detect(outcome, line, frame->nodeName);
    }
    return outcome;
}

void StreamIntake::endUnfinishedLine(IntakeOutcome& outcome, std::u16string_view nodeName) {
    if (telnetLines_.pendingTail().empty())
        return;
    const std::u16string tail = telnetLines_.pendingTail();
    telnetLines_.clear();
    outcome.shown.push_back(kLineEnd);
    detectNodeLine(outcome, tail, nodeName);
}

void StreamIntake::detectNodeLine(IntakeOutcome& outcome, std::u16string_view line,
                                  std::u16string_view nodeName) {
    const std::size_t before = outcome.storedSpots.size();
    detect(outcome, line, nodeName);
    if (!readListings_ || outcome.storedSpots.size() != before)
        return;
    if (const auto listed = parseSpotListing(line)) {
        const int index = store_.storeSpot(listed->spot, nodeName, listed->time);
        if (index != -1)
            outcome.storedSpots.push_back(index);
    }
}

void StreamIntake::detect(IntakeOutcome& outcome, std::u16string_view line,
                          std::u16string_view nodeName) {
    const int index = parseSpotLine(store_, line, nodeName);
    if (index != -1)
        outcome.storedSpots.push_back(index);
}

}  // namespace quendra
