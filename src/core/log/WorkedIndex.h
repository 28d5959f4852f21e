#pragma once

#include "log/AdifValues.h"
#include "log/KeySet.h"
#include "log/LoggedQso.h"
#include "log/NeedStatus.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quendra {

// What the log has: per entity, the bands, mode groups and band-and-group slots worked, counted
// three ways (every QSO; QSOs confirmed by card or LoTW; those and eQSL ones), and the slots each
// call was worked in. Adding a QSO and asking for a status each cost a few array reads and one
// hash probe, whatever the size of the log; a change of need policy needs no rebuilding.
class WorkedIndex {
public:
    WorkedIndex();

    // What adding a QSO changed: the marks of its entity, or the slots of its call.
    struct Change {
        bool entity = false;
        bool call = false;
    };
    Change add(const LoggedQso& qso);

    // `call` is the station's number in the log's CallTable, none when the log lacks it.
    NeedStatus status(int entity, std::optional<std::uint32_t> call, int band, ModeGroup group,
                      NeedRule rule) const;

    int workedEntities() const { return workedEntities_; }
    std::size_t memoryBytes() const;
    void clear() { *this = WorkedIndex(); }

private:
    // Bit i of a band mask stands for amateurBands()[i].
    struct EntityMarks {
        std::uint16_t bands = 0;
        std::array<std::uint16_t, 3> slotBands{};  // band masks for CW, Phone, Digital
        std::uint8_t groups = 0;               // bit g-1 for ModeGroup g
        bool worked = false;
    };
    enum Count : std::size_t { Every, Confirmed, ConfirmedOrEqsl, kCounts };

    static bool mark(EntityMarks& marks, int band, ModeGroup group);
    static std::uint64_t slotKey(std::uint32_t call, int band, ModeGroup group);

    std::array<std::vector<EntityMarks>, kCounts> marks_;  // by entity number
    KeySet callSlots_;
    int workedEntities_ = 0;
};

}  // namespace quendra
