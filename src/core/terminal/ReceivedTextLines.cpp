#include "terminal/ReceivedTextLines.h"

namespace quendra::received_text {

std::vector<std::u16string_view> cutPieces(std::u16string_view text) {
    std::vector<std::u16string_view> pieces;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && !isLineEnd(text[end]))
            ++end;
        if (end > start)
            pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

bool isMonitorHeader(std::u16string_view piece) {
    return piece.size() >= 5 && piece[3] == u'F' && piece[4] == u'm';
}

std::u16string markedLine(std::u16string_view piece, std::u16string_view callSign) {
    if (!isMonitorHeader(piece))
        return std::u16string(piece);
    const bool namesStation = piece.find(callSign) != std::u16string_view::npos;
    std::u16string line;
    line.reserve(kMarkLength + piece.size());
    line += kMarkIntroducer;
    line += namesStation ? u"02" : u"03";
    line += piece;
    return line;
}

}  // namespace quendra::received_text
