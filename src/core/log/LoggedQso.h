#pragma once

#include "modes/Mode.h"

#include <cstdint>

namespace quendra {

// One QSO of the operator's log as status needs it: eight bytes.
struct LoggedQso {
    std::uint32_t call = 0;    // number in the log's CallTable
    std::uint16_t entity = 0;  // entity number; 0: none known
    std::int8_t band = -1;     // amateurBands() index; -1: outside our bands
    std::uint8_t marks = 0;    // the mode group in the low two bits, then the confirmations

    static constexpr std::uint8_t kConfirmed = 1u << 2;      // by QSL card or LoTW
    static constexpr std::uint8_t kEqslConfirmed = 1u << 3;

    ModeGroup modeGroup() const { return static_cast<ModeGroup>(marks & 3u); }
    bool confirmed() const { return (marks & kConfirmed) != 0; }
    bool eqslConfirmed() const { return (marks & kEqslConfirmed) != 0; }

    static std::uint8_t marksOf(ModeGroup group, bool confirmed, bool eqslConfirmed) {
        return static_cast<std::uint8_t>(static_cast<unsigned>(group) | (confirmed ? kConfirmed : 0u) |
                                          (eqslConfirmed ? kEqslConfirmed : 0u));
    }
};

static_assert(sizeof(LoggedQso) == 8);
static_assert(static_cast<unsigned>(ModeGroup::Digital) <= 3u, "a mode group fits two bits");

}  // namespace quendra
