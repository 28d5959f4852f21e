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

std::u16string drawnText(std::u16string_view shown) {
    std::u16string drawn;
    drawn.reserve(shown.size());
    for (char16_t c : shown) {
        if (c == u'\t')
            drawn.push_back(u' ');
        else if (c >= 0x20 && !(c >= 0x7F && c <= 0x9F))
            drawn.push_back(c);
    }
    return drawn;
}

}  // namespace quendra::received_text
