#pragma once

#include "wsjtx/WsjtxMessages.h"

#include <optional>
#include <string>
#include <string_view>

namespace quendra::wsjtx {

// The ADIF record (fields up to and including <EOR>, UTF-8) of a QSO WSJT-X reported logged:
// written from the QSO Logged message's fields, leaving out empty ones.
std::string adifRecord(const QsoLogged& qso);

// The one record of a Logged ADIF message's text, its header left out; nothing when the text
// holds no complete record.
std::optional<std::string> firstAdifRecord(std::string_view adif);

// What names a QSO in a record: its call, date and start to the minute ("ZZ2CD 20261209 1238"),
// so the same QSO reported twice (WSJT-X sends both messages for each) is told apart; empty when
// the record has no call.
std::string qsoKey(std::string_view record);

// The civil date of a Julian day number as ADIF writes it, "YYYYMMDD".
std::string adifDate(std::int64_t julianDay);

}  // namespace quendra::wsjtx
