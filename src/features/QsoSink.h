#pragma once

#include <string_view>

namespace quendra {

// Where a QSO logged elsewhere than in the log file (by a program that reports it as it logs) goes,
// so that spots know of it before the file does. Lent by the feature that keeps the operator's log.
class QsoSink {
public:
    virtual ~QsoSink() = default;
    // One QSO as an ADIF record (fields up to <EOR>, UTF-8).
    virtual void addQso(std::string_view adifRecord) = 0;
};

}  // namespace quendra
