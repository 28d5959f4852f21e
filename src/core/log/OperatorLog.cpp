#include "log/OperatorLog.h"

#include "dxcc/CountryFile.h"

#include <algorithm>
#include <array>

namespace quendra {

namespace {

// A whole file may come as one piece; read in slices so the records waiting to be taken in stay few.
constexpr std::size_t kSliceBytes = 256 * 1024;

}  // namespace

LogChanges OperatorLog::feed(std::string_view bytes) {
    LogChanges changes;
    while (!bytes.empty()) {
        const std::string_view slice = bytes.substr(0, kSliceBytes);
        bytes.remove_prefix(slice.size());
        records_.clear();
        reader_.feed(slice, records_);
        take(records_, changes);
    }
    changes.seal();
    return changes;
}

LogChanges OperatorLog::finish() {
    LogChanges changes;
    records_.clear();
    reader_.finish(records_);
    take(records_, changes);
    changes.seal();
    return changes;
}

LogChanges OperatorLog::add(const std::vector<AdifQso>& records) {
    LogChanges changes;
    take(records, changes);
    changes.seal();
    return changes;
}

void OperatorLog::clear() {
    reader_.reset();
    calls_.clear();
    qsos_ = {};
    worked_.clear();
    records_ = {};
}

void OperatorLog::take(const std::vector<AdifQso>& records, LogChanges& changes) {
    for (const AdifQso& record : records) {
        LoggedQso qso;
        qso.call = calls_.intern(record.call);
        qso.entity = static_cast<std::uint16_t>(record.dxcc ? *record.dxcc : numbers_.numberOf(record.call));
        qso.band = static_cast<std::int8_t>(record.band);
        qso.marks = LoggedQso::marksOf(record.modeGroup, record.confirmed, record.eqslConfirmed);
        qsos_.push_back(qso);
        changes.addQso();
        const WorkedIndex::Change change = worked_.add(qso);
        if (change.entity)
            changes.addEntity(qso.entity);
        if (change.call)
            changes.addCall(record.call);
    }
}

NeedStatus OperatorLog::status(int entity, std::string_view call, int band, ModeGroup group, NeedRule rule) const {
    return worked_.status(entity, calls_.find(call), band, group, rule);
}

NeedStatus OperatorLog::status(int entity, std::u16string_view call, int band, ModeGroup group,
                               NeedRule rule) const {
    // Logged calls are letters, digits and '/': any other character is a call the log lacks.
    std::array<char, kMaxCallLength> narrow{};
    bool inLog = call.size() <= narrow.size();
    for (std::size_t i = 0; inLog && i < call.size(); ++i) {
        inLog = call[i] > 0 && call[i] < 0x7f;
        narrow[i] = static_cast<char>(call[i]);
    }
    const std::string_view text = inLog ? std::string_view(narrow.data(), call.size()) : std::string_view();
    return status(entity, text, band, group, rule);
}

LogCounts OperatorLog::counts() const {
    return LogCounts{qsos_.size(), worked_.workedEntities(), reader_.damagedRecords()};
}

std::size_t OperatorLog::memoryBytes() const {
    return qsos_.capacity() * sizeof(LoggedQso) + calls_.memoryBytes() + worked_.memoryBytes() +
           records_.capacity() * sizeof(AdifQso);
}

}  // namespace quendra
