#include "log/WorkedIndex.h"

namespace quendra {

namespace {

// A band mask has a bit for each of amateurBands(), which are fewer than 16.
bool knownBand(int band) { return band >= 0 && band < 16; }

bool knownGroup(ModeGroup group) { return group != ModeGroup::Unknown; }

std::uint16_t bandBit(int band) { return static_cast<std::uint16_t>(1u << band); }

std::size_t groupIndex(ModeGroup group) { return static_cast<std::size_t>(group) - 1; }

bool knownEntity(int entity) { return entity > 0 && entity <= kMaxEntityNumber; }

}  // namespace

WorkedIndex::WorkedIndex() {
    static_assert(sizeof(EntityMarks::bands) * 8 >= 16, "every band has a bit");
    for (auto& marks : marks_)
        marks.resize(kMaxEntityNumber + 1);
}

// True when anything was new.
bool WorkedIndex::mark(EntityMarks& marks, int band, ModeGroup group) {
    const EntityMarks before = marks;
    marks.worked = true;
    if (knownBand(band))
        marks.bands = static_cast<std::uint16_t>(marks.bands | bandBit(band));
    if (knownGroup(group))
        marks.groups = static_cast<std::uint8_t>(marks.groups | (1u << groupIndex(group)));
    if (knownBand(band) && knownGroup(group)) {
        std::uint16_t& mask = marks.slotBands[groupIndex(group)];
        mask = static_cast<std::uint16_t>(mask | bandBit(band));
    }
    return marks.worked != before.worked || marks.bands != before.bands || marks.groups != before.groups ||
           marks.slotBands != before.slotBands;
}

std::uint64_t WorkedIndex::slotKey(std::uint32_t call, int band, ModeGroup group) {
    // Never 0: a known group is at least 1.
    return (std::uint64_t{call} << 8) | (static_cast<std::uint64_t>(band) << 2) |
           static_cast<std::uint64_t>(group);
}

WorkedIndex::Change WorkedIndex::add(const LoggedQso& qso) {
    Change change;
    const ModeGroup group = qso.modeGroup();
    if (knownEntity(qso.entity)) {
        const bool firstOfEntity = !marks_[Every][qso.entity].worked;
        change.entity = mark(marks_[Every][qso.entity], qso.band, group);
        if (qso.confirmed())
            change.entity = mark(marks_[Confirmed][qso.entity], qso.band, group) || change.entity;
        if (qso.confirmed() || qso.eqslConfirmed())
            change.entity = mark(marks_[ConfirmedOrEqsl][qso.entity], qso.band, group) || change.entity;
        if (firstOfEntity)
            ++workedEntities_;
    }
    if (knownBand(qso.band) && knownGroup(group))
        change.call = callSlots_.insert(slotKey(qso.call, qso.band, group));
    return change;
}

NeedStatus WorkedIndex::status(int entity, std::optional<std::uint32_t> call, int band, ModeGroup group,
                               NeedRule rule) const {
    const bool bandKnown = knownBand(band);
    const bool groupKnown = knownGroup(group);
    if (knownEntity(entity)) {
        const Count count = rule.policy == NeedPolicy::Worked ? Every
                            : rule.eqslCounts                 ? ConfirmedOrEqsl
                                                              : Confirmed;
        const EntityMarks& marks = marks_[count][static_cast<std::size_t>(entity)];
        if (!marks.worked)
            return NeedStatus::NewDxcc;
        if (bandKnown && (marks.bands & bandBit(band)) == 0)
            return NeedStatus::NewBand;
        if (groupKnown && (marks.groups & (1u << groupIndex(group))) == 0)
            return NeedStatus::NewMode;
        if (bandKnown && groupKnown && (marks.slotBands[groupIndex(group)] & bandBit(band)) == 0)
            return NeedStatus::NewSlot;
    }
    // A QSO with this very station counts whether confirmed or not: it is what the row says.
    if (call && bandKnown && groupKnown && callSlots_.contains(slotKey(*call, band, group)))
        return NeedStatus::Worked;
    return NeedStatus::None;
}

std::size_t WorkedIndex::memoryBytes() const {
    std::size_t bytes = callSlots_.memoryBytes();
    for (const auto& marks : marks_)
        bytes += marks.capacity() * sizeof(EntityMarks);
    return bytes;
}

}  // namespace quendra
