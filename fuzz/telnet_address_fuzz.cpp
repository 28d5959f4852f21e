// The Connect dialog's address text, as typed or read back from the history.
#include "FuzzCheck.h"
#include "links/TelnetAddress.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::u16string text = fuzzing::consumeText(input, 4096);
    const quendra::TelnetAddress address = quendra::parseTelnetAddress(text);
    FUZZ_CHECK(address.host.size() <= quendra::kMaxTelnetHostLength);
    FUZZ_CHECK(address.host.find(u':') == std::u16string::npos);
    FUZZ_CHECK(address.host.empty() || text.find(address.host) != std::u16string::npos);
    return 0;
}
