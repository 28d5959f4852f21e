// Received text on its way to the terminals and the spot routing: the telnet line joiner and the
// terminal writer get it in arbitrary pieces, a monitored frame's text goes to the tokeniser.
#include "FuzzCheck.h"
#include "links/MonitorTokens.h"
#include "links/TelnetLineJoiner.h"
#include "terminal/ReceivedTextLines.h"
#include "terminal/ReceivedTextWriter.h"

#include <vector>

namespace {

using quendra::MonitorBuffer;
using quendra::ReceivedTextWriter;
using quendra::TelnetLineJoiner;
using quendra::TerminalStream;

bool within(std::u16string_view part, std::u16string_view whole) {
    return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

bool hasLineEnd(std::u16string_view text) { return text.find_first_of(u"\r\n") != text.npos; }

std::vector<std::u16string_view> cutInPieces(std::u16string_view text, const std::vector<std::size_t>& sizes) {
    std::vector<std::u16string_view> pieces;
    for (std::size_t i = 0; !text.empty(); ++i) {
        const std::size_t size = std::min(text.size(), std::max<std::size_t>(1, sizes[i % sizes.size()]));
        pieces.push_back(text.substr(0, size));
        text.remove_prefix(size);
    }
    return pieces;
}

void checkTokens(std::u16string_view text) {
    const auto tokens = quendra::tokenizeMonitorText(text);
    if (!tokens)
        return;
    FUZZ_CHECK(!tokens->nodeName.empty() && within(tokens->nodeName, text));
    FUZZ_CHECK(tokens->nodeName.find(u' ') == std::u16string_view::npos);
    FUZZ_CHECK(!tokens->dataLines.empty());
    for (const auto line : tokens->dataLines)
        FUZZ_CHECK(!line.empty() && !hasLineEnd(line) && within(line, text));
}

void checkJoiner(std::u16string_view text, const std::vector<std::u16string_view>& pieces) {
    TelnetLineJoiner whole;
    const auto expected = whole.feed(text);
    TelnetLineJoiner joiner;
    std::vector<std::u16string> lines;
    for (const auto piece : pieces) {
        for (auto& line : joiner.feed(piece))
            lines.push_back(std::move(line));
        FUZZ_CHECK(joiner.pendingTail().size() <= TelnetLineJoiner::kMaxLineLength);
    }
    FUZZ_CHECK(lines == expected);
    FUZZ_CHECK(joiner.pendingTail() == whole.pendingTail());
    for (const auto& line : lines)
        FUZZ_CHECK(!line.empty() && !hasLineEnd(line) && line.size() <= TelnetLineJoiner::kMaxLineLength);
}

void checkBuffer(const MonitorBuffer& buffer, std::size_t longestPiece) {
    FUZZ_CHECK(static_cast<std::uint32_t>(buffer.count()) <= static_cast<std::uint32_t>(buffer.capacity()));
    FUZZ_CHECK(buffer.position() >= -1 && buffer.position() <= buffer.count() - 1);
    for (int i = 0; i < buffer.count(); ++i) {
        FUZZ_CHECK(!hasLineEnd(buffer.line(i)));
        FUZZ_CHECK(buffer.line(i).size() <= ReceivedTextWriter::kMaxJoinedLength + longestPiece +
                                                quendra::received_text::kMarkLength);
    }
}

void writeAll(MonitorBuffer& buffer, TerminalStream stream, const std::vector<std::u16string_view>& pieces,
              std::u16string_view callSign) {
    ReceivedTextWriter writer(buffer, stream);
    for (const auto piece : pieces)
        writer.append(piece, callSign);
}

std::size_t longestLine(std::u16string_view text) {
    std::size_t longest = 0;
    for (const auto piece : quendra::received_text::cutPieces(text))
        longest = std::max(longest, piece.size());
    return longest;
}

// However the telnet text is cut, the terminal ends up with the same lines, as long as no line
// grew long enough to be broken up on purpose.
void checkTelnetTerminal(std::u16string_view text, const std::vector<std::u16string_view>& pieces,
                         std::u16string_view callSign, std::int32_t capacity) {
    std::size_t longestPiece = 0;
    for (const auto piece : pieces)
        longestPiece = std::max(longestPiece, piece.size());

    MonitorBuffer small;
    small.setCapacity(capacity);
    writeAll(small, TerminalStream::Telnet, pieces, callSign);
    checkBuffer(small, longestPiece);

    if (longestLine(text) >= ReceivedTextWriter::kMaxJoinedLength)
        return;
    MonitorBuffer inPieces, whole;
    inPieces.setCapacity(1 << 20);
    whole.setCapacity(1 << 20);
    writeAll(inPieces, TerminalStream::Telnet, pieces, callSign);
    writeAll(whole, TerminalStream::Telnet, {text}, callSign);
    FUZZ_CHECK(inPieces.count() == whole.count());
    for (int i = 0; i < whole.count(); ++i)
        FUZZ_CHECK(inPieces.line(i) == whole.line(i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<std::size_t> sizes(input.ConsumeIntegralInRange<std::size_t>(1, 8));
    for (auto& pieceSize : sizes)
        pieceSize = input.ConsumeIntegralInRange<std::size_t>(1, 2000);
    const auto capacity = input.ConsumeIntegralInRange<std::int32_t>(0, 64);
    const std::u16string callSign = fuzzing::consumeText(input, 20);
    const std::u16string text = fuzzing::consumeText(input, 1 << 16);
    const auto pieces = cutInPieces(text, sizes);

    checkTokens(text);
    checkJoiner(text, pieces);
    checkTelnetTerminal(text, pieces, callSign, capacity);

    MonitorBuffer packet;
    packet.setCapacity(capacity);
    writeAll(packet, TerminalStream::Packet, pieces, callSign);
    checkBuffer(packet, 0);
    return 0;
}
