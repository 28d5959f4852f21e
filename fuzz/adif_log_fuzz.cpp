// An ADIF log as any program or a damaged disk might leave it, read whole and in pieces of
// every size a followed file hands over, then spots asked about against it.
#include "FuzzCheck.h"
#include "log/OperatorLog.h"

#include <vector>

namespace {

struct Reading {
    std::vector<quendra::AdifQso> qsos;
    int damaged = 0;
};

Reading readInPieces(std::string_view text, FuzzedDataProvider& cuts) {
    quendra::AdifReader reader;
    Reading reading;
    while (!text.empty()) {
        const std::size_t piece = cuts.ConsumeIntegralInRange<std::size_t>(1, text.size());
        reader.feed(text.substr(0, piece), reading.qsos);
        text.remove_prefix(piece);
    }
    reader.finish(reading.qsos);
    reading.damaged = reader.damagedRecords();
    return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string text = input.ConsumeRandomLengthString(65536);

    quendra::AdifReader whole;
    Reading once;
    whole.feed(text, once.qsos);
    whole.finish(once.qsos);
    once.damaged = whole.damagedRecords();

    // Where the pieces are cut never changes what is read.
    const Reading pieces = readInPieces(text, input);
    FUZZ_CHECK(pieces.qsos == once.qsos);
    FUZZ_CHECK(pieces.damaged == once.damaged);
    for (const quendra::AdifQso& qso : once.qsos) {
        FUZZ_CHECK(!qso.call.empty() && qso.call.size() <= quendra::kMaxCallLength);
        FUZZ_CHECK(qso.band >= -1 && qso.band < 16);
        FUZZ_CHECK(!qso.dxcc || (*qso.dxcc >= 0 && *qso.dxcc <= quendra::kMaxEntityNumber));
    }

    const quendra::EntityNumbers numbers;
    quendra::OperatorLog log(numbers);
    log.feed(text);
    log.finish();
    FUZZ_CHECK(log.counts().qsos == once.qsos.size());
    for (const quendra::AdifQso& qso : once.qsos) {
        const int entity = qso.dxcc.value_or(0);
        const quendra::NeedStatus status = log.status(entity, qso.call, qso.band, qso.modeGroup, {});
        // A logged slot of a known band and mode is had: never needed under the worked policy.
        if (qso.band >= 0 && qso.modeGroup != quendra::ModeGroup::Unknown)
            FUZZ_CHECK(status == quendra::NeedStatus::Worked);
    }
    return 0;
}
