#include "app/StreamIntake.h"

#include "app/SpotDetection.h"
#include "app/SpotRouting.h"
#include "autolink/SpotListing.h"
#include "links/MonitorTokens.h"
#include "spots/SpotStore.h"

namespace quendra {
namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

// A read that starts a spot: "DX...", or a time followed by " DX". A time alone is no start,
// since it is as likely the end of a column-form line that the read boundary cut before its time.
bool startsLikeSpot(std::u16string_view text) {
    const SpotForm form = detectSpotForm(text);
    return form == SpotForm::Column || (form == SpotForm::Timed && text.substr(5).starts_with(u" DX"));
}

}  // namespace

StreamIntake::StreamIntake(SpotStore& store) : store_(store) {}

IntakeOutcome StreamIntake::telnetText(std::u16string_view text, std::u16string_view nodeName) {
    IntakeOutcome outcome;
    // A node may leave a prompt ("login: ", "... >") without a line end and go on with a spot: a
    // read that starts like a spot starts a line of its own, so the prompt cannot swallow it.
    if (startsLikeSpot(text))
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
        keepStored(outcome, store_.storeSpot(listed->spot, nodeName, listed->time));
    }
}

void StreamIntake::detect(IntakeOutcome& outcome, std::u16string_view line,
                          std::u16string_view nodeName) {
    keepStored(outcome, parseSpotLine(store_, line, nodeName));
}

// Spots age out when a new one is stored, as they always have; but only once a piece of text, right
// after its first new spot, so that no index this piece hands on is taken before an age-out that
// moves it. Every later spot of the piece is stored after the age-out and keeps its index.
void StreamIntake::keepStored(IntakeOutcome& outcome, int index) {
    if (index == -1)
        return;
    if (!outcome.ageOutRan) {
        outcome.ageOutRan = true;
        const Spot* stored = &store_.spotAt(index);
        outcome.expiredSpots = store_.expireSpots();
        if (outcome.expiredSpots > 0) {
            // The new spot is the last one still, unless it aged out itself (a lifetime below 0).
            index = store_.count() - 1;
            if (index < 0 || &store_.spotAt(index) != stored)
                return;
        }
    }
    outcome.storedSpots.push_back(index);
}

}  // namespace quendra
