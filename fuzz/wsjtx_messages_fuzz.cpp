// A datagram on WSJT-X's port, from WSJT-X, a companion program or anything else that sends
// there: read, made into a spot or an ADIF record, and a decode answered with a Reply.
#include "FuzzCheck.h"
#include "wsjtx/DecodeSpot.h"
#include "wsjtx/QsoRecord.h"
#include "wsjtx/WsjtxMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view datagram(reinterpret_cast<const char*>(data), size);
    const auto message = quendra::wsjtx::readMessage(datagram);
    if (!message)
        return 0;
    FUZZ_CHECK(message->schema == 2 || message->schema == 3);
    if (const auto* decode = std::get_if<quendra::wsjtx::Decode>(&message->body)) {
        quendra::wsjtx::Status status;
        status.dialHz = 14'074'000;
        if (const auto spot = quendra::wsjtx::spotFromDecode(status, *decode, u"ZZ1AB"))
            FUZZ_CHECK(!spot->station.empty() && spot->station.size() <= 13);
        // A Reply reads back as the decode it repeats.
        const std::string reply = quendra::wsjtx::encodeReply(message->schema, message->id, *decode, 0);
        const auto again = quendra::wsjtx::readMessage(reply);
        FUZZ_CHECK(again && again->id == message->id);
    } else if (const auto* qso = std::get_if<quendra::wsjtx::QsoLogged>(&message->body)) {
        const std::string record = quendra::wsjtx::adifRecord(*qso);
        FUZZ_CHECK(quendra::wsjtx::firstAdifRecord(record) == record);
    } else if (const auto* adif = std::get_if<quendra::wsjtx::LoggedAdif>(&message->body)) {
        if (const auto record = quendra::wsjtx::firstAdifRecord(adif->adif))
            FUZZ_CHECK(record->size() <= adif->adif.size());
        (void)quendra::wsjtx::qsoKey(adif->adif);
    }
    return 0;
}
