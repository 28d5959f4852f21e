#pragma once

#include <cstdint>
#include <string_view>

namespace quendra {

// What a spot means for the operator's log, the first that applies in this order.
enum class NeedStatus : std::uint8_t {
    None,     // nothing to say: worked before, or not enough known about the spot
    NewDxcc,  // the entity was never worked
    NewBand,  // the entity was never worked on this band
    NewMode,  // the entity was never worked in this mode group, on any band
    NewSlot,  // the entity was never worked in this band and mode group together
    Worked,   // this very call was worked on this band and mode group
};

// "New DXCC", "New band", "New mode", "New slot", "Worked"; "" for None.
std::string_view needStatusName(NeedStatus status);

// The four statuses a "needed only" view keeps.
bool isNeeded(NeedStatus status);

// What makes a slot count as had: any QSO, or only a confirmed one.
enum class NeedPolicy : std::uint8_t { Worked, Confirmed };

struct NeedRule {
    NeedPolicy policy = NeedPolicy::Worked;
    bool eqslCounts = false;  // with Confirmed: an eQSL confirmation counts too
};

}  // namespace quendra
