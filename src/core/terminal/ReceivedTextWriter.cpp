#include "terminal/ReceivedTextWriter.h"

#include "terminal/ReceivedTextLines.h"

#include <string>

namespace quendra {

ReceivedTextWriter::ReceivedTextWriter(MonitorBuffer& buffer, TerminalStream stream)
    : buffer_(buffer), stream_(stream) {}

void ReceivedTextWriter::append(std::u16string_view text, std::u16string_view callSign) {
    if (text.empty())
        return;
    auto pieces = received_text::cutPieces(text);
    const bool continuesOpenLine = lineOpen_ && !received_text::isLineEnd(text.front());
    std::size_t first = 0;
    if (continuesOpenLine && !pieces.empty()) {
        completeUnfinishedLine(pieces.front(), callSign);
        first = 1;
    }
    lineOpen_ = false;
    for (std::size_t i = first; i < pieces.size(); ++i)
        storeLine(pieces[i], callSign);

    if (stream_ == TerminalStream::Telnet && !received_text::isLineEnd(text.back()) &&
        buffer_.count() > 0) {
        const auto& newest = buffer_.line(buffer_.count() - 1);
        lineOpen_ = newest.size() - openLineMarkLength_ < kMaxJoinedLength;
        openLineSerial_ = buffer_.linesAdded();
    }
}

bool ReceivedTextWriter::unfinishedLineStored() const {
    return buffer_.count() > 0 && buffer_.linesAdded() == openLineSerial_;
}

void ReceivedTextWriter::completeUnfinishedLine(std::u16string_view rest,
                                                std::u16string_view callSign) {
    if (!unfinishedLineStored()) {
        storeLine(rest, callSign);
        return;
    }
    std::u16string whole = buffer_.line(buffer_.count() - 1).substr(openLineMarkLength_);
    whole += rest;
    auto line = received_text::markedLine(whole, callSign);
    openLineMarkLength_ = line.size() - whole.size();
    buffer_.replaceNewest(std::move(line));
}

void ReceivedTextWriter::storeLine(std::u16string_view piece, std::u16string_view callSign) {
    auto line = received_text::markedLine(piece, callSign);
    openLineMarkLength_ = line.size() - piece.size();
    buffer_.AddLine(std::move(line));
}

}  // namespace quendra
