#include "terminal/EntryLineRules.h"

#include <algorithm>

namespace quendra::entry_line {
namespace {

std::size_t lineCount(std::u16string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\n')) + 1;
}

}  // namespace

EntryLineOutcome afterEnter(std::u16string_view boxText, std::size_t caret) {
    EntryLineOutcome outcome;
    caret = std::min(caret, boxText.size());
    const auto caretLineStart = boxText.rfind(u'\n', caret == 0 ? 0 : caret - 1);
    if (caret == 0 || caretLineStart == std::u16string_view::npos)
        return outcome;
    const auto finished = boxText.substr(0, caretLineStart);
    const auto finishedStart = finished.rfind(u'\n');
    auto line = finished.substr(finishedStart == std::u16string_view::npos ? 0 : finishedStart + 1);
    line = line.substr(0, std::min(line.size(), kMaxSentLength));
    if (line.empty())
        return outcome;

    outcome.lineToSend.assign(line);
    outcome.lineToSend += u"\r\n";
    if (lineCount(boxText) > kMaxKeptLines) {
        const auto removeLength = boxText.find(u'\n') + 1;
        outcome.trim = EntryLineTrim{removeLength, boxText.size() - removeLength};
    }
    return outcome;
}

}  // namespace quendra::entry_line
