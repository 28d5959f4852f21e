#pragma once

#include "log/AdifReader.h"
#include "log/CallTable.h"
#include "log/EntityNumbers.h"
#include "log/LogChanges.h"
#include "log/LoggedQso.h"
#include "log/NeedStatus.h"
#include "log/WorkedIndex.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quendra {

// Figures for a status line.
struct LogCounts {
    std::size_t qsos = 0;
    int entities = 0;  // distinct entities worked
    int damaged = 0;   // records skipped as damaged
};

// The operator's log as worked status needs it, read from ADIF text in pieces as a followed file
// grows. A QSO's entity is its DXCC field, else its call resolved through the entity numbers,
// which must outlive the log. About 30 bytes a QSO in all with a big log (see bench/log_bench).
class OperatorLog {
public:
    explicit OperatorLog(const EntityNumbers& numbers) : numbers_(numbers) {}

    // Takes in the QSOs the bytes complete, and says which spots they concern.
    LogChanges feed(std::string_view bytes);
    // The file has ended for now: a last record without <EOR> counts too.
    LogChanges finish();
    // QSOs read elsewhere (a record another program reported as it logged), beside the file's.
    LogChanges add(const std::vector<AdifQso>& records);
    // Forgets every QSO and count, to read a replaced or shortened file from its start.
    void clear();

    // `entity` and `band` as the spot resolved them (an entity number, an amateurBands() index),
    // `call` in upper case.
    NeedStatus status(int entity, std::string_view call, int band, ModeGroup group, NeedRule rule) const;
    NeedStatus status(int entity, std::u16string_view call, int band, ModeGroup group, NeedRule rule) const;

    // The same through the call's number in the log (none when the log lacks the call), for a
    // caller that keeps it: a call gets its number with its first QSO, which lists it in the
    // changes of that QSO.
    std::optional<std::uint32_t> callNumber(std::string_view call) const { return calls_.find(call); }
    NeedStatus status(int entity, std::optional<std::uint32_t> callNumber, int band, ModeGroup group,
                      NeedRule rule) const {
        return worked_.status(entity, callNumber, band, group, rule);
    }

    LogCounts counts() const;
    const std::vector<LoggedQso>& qsos() const { return qsos_; }
    std::string_view callOf(const LoggedQso& qso) const { return calls_.text(qso.call); }
    // What the log holds on the heap, reserve included.
    std::size_t memoryBytes() const;

private:
    void take(const std::vector<AdifQso>& records, LogChanges& changes);

    const EntityNumbers& numbers_;
    AdifReader reader_;
    CallTable calls_;
    std::vector<LoggedQso> qsos_;  // grows with the operator's own log: 8 bytes a QSO
    WorkedIndex worked_;
    std::vector<AdifQso> records_;  // the reader's output for one slice, kept for its capacity
};

}  // namespace quendra
