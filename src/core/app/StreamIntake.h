#pragma once

#include "links/TelnetLineJoiner.h"

#include <string_view>
#include <vector>

namespace quendra {

class SpotStore;

// What a piece of received text turns into: the texts to append to the stream's terminal, in
// order, the indexes of the spots it stored, and how many older spots aged out meanwhile. The
// texts point into the text handed in (or at constants), so they are valid until that text goes
// away. The indexes are those the store holds once the whole piece is taken: age-out never moves
// them afterwards, because it runs at most once a piece, before the indexes are taken.
struct IntakeOutcome {
    std::vector<std::u16string_view> shown;
    std::vector<int> storedSpots;
    int expiredSpots = 0;
    bool ageOutRan = false;
};

// Everything that happens to received text before it reaches a window. The node's stream is cut
// into lines however the network split it into reads, and every complete line is tested for a
// spot; the link's own status lines are kept apart from the node's text; every data line of a
// monitored frame the engine heard is tested, with the sending station as the spot's node.
class StreamIntake {
public:
    explicit StreamIntake(SpotStore& store);

    // One read from the cluster node.
    IntakeOutcome telnetText(std::u16string_view text, std::u16string_view nodeName);
    // A line the telnet link adds itself ("***Connected. ", ...): shown, never tested, and never
    // run together with a line the node left unfinished.
    IntakeOutcome telnetStatus(std::u16string_view text, std::u16string_view nodeName);
    // The text of one monitored frame; frames the engine transmitted for us are shown only.
    IntakeOutcome monitorFrame(std::u16string_view text, bool transmitted);

    // Also takes the spots of a node's spot listing (the answer to "sh/dx"), each with its own
    // time; off unless the operator asked for it, so a listing line is never a spot by default.
    void setReadListings(bool on) { readListings_ = on; }

private:
    void endUnfinishedLine(IntakeOutcome& outcome, std::u16string_view nodeName);
    void detect(IntakeOutcome& outcome, std::u16string_view line, std::u16string_view nodeName);
    void detectNodeLine(IntakeOutcome& outcome, std::u16string_view line, std::u16string_view nodeName);
    void keepStored(IntakeOutcome& outcome, int index);

    SpotStore& store_;
    TelnetLineJoiner telnetLines_;
    bool readListings_ = false;
};

}  // namespace quendra
