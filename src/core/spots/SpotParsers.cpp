#include "spots/SpotParsers.h"

#include "spots/WordReader.h"
#include "text/CaseFold.h"
#include "text/Numbers.h"

#include <algorithm>

namespace quendra {
namespace {

// Column form: the comment and the time sit at fixed columns counted from the start of the text.
constexpr std::size_t kInfoColumn = 39;
constexpr std::size_t kInfoWidth = 31;
constexpr std::size_t kColumnTimeColumn = 70;

std::u16string foldedCopy(std::u16string_view word) {
    std::u16string text(word);
    foldToUpper(text);  // upper case, the same for author and station, every time
    return text;
}

// "hhmm" at `column` as "hh:mm". A text too short to hold all four characters gives no time
// rather than a part of one; nothing past the end of the text is read.
std::u16string timeAt(std::u16string_view text, std::size_t column) {
    if (text.size() < column + 4)
        return {};
    std::u16string gmt(text.substr(column, 2));
    gmt += u':';
    gmt += text.substr(column + 2, 2);
    return gmt;
}

std::u16string_view columnInfo(std::u16string_view text) {
    if (text.size() <= kInfoColumn)
        return {};
    return text.substr(kInfoColumn, kInfoWidth);
}

enum class FrequencyRule { AnyWord, NonZeroInteger };

// The three words both forms share, in their order: the author up to its ':', the frequency word
// and the station. Each must be there; author and station are stored folded.
bool readSpotWords(WordReader& words, FrequencyRule rule, ParsedSpot& spot) {
    const auto author = words.nextAuthor();
    if (!author || author->empty())
        return false;
    const auto frequency = words.nextWord();
    if (!frequency || (rule == FrequencyRule::NonZeroInteger && readLeadingInt(*frequency) == 0))
        return false;
    const auto station = words.nextWord();
    if (!station)
        return false;
    spot.author = foldedCopy(*author);
    spot.frequency = std::u16string(*frequency);
    spot.station = foldedCopy(*station);
    return true;
}

// A skimmer of the reverse-beacon network signs its spots with a call ending "-#".
bool isSkimmerCall(std::u16string_view author) { return author.ends_with(u"-#"); }

bool isTimeWord(std::u16string_view word) {
    return word.size() == 5 && word[4] == u'Z' &&
           std::all_of(word.begin(), word.begin() + 4, [](char16_t ch) { return isDecimalDigit(ch); });
}

// Whether the time stands in its column, as every line laid out in columns has it.
bool timeInColumn(std::u16string_view text) {
    return text.size() >= kColumnTimeColumn + 5 && isTimeWord(text.substr(kColumnTimeColumn, 5));
}

std::u16string_view trimmed(std::u16string_view text) {
    // Spaces, and the bell characters and other controls some nodes end announcements with.
    const auto blank = [](char16_t ch) { return ch <= u' '; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A skimmer's line is not always laid out in columns: a long skimmer call or a frequency touching
// the colon pushes the comment and the time out of their places, and some skimmer nodes pad with
// single spaces. The comment is then everything after the station and the time its last word.
void readSkimmerTail(std::u16string_view rest, ParsedSpot& spot) {
    rest = trimmed(rest);
    const std::size_t lastSpace = rest.find_last_of(u' ');
    const std::u16string_view last = lastSpace == std::u16string_view::npos ? rest : rest.substr(lastSpace + 1);
    if (isTimeWord(last)) {
        spot.gmt = timeAt(last, 0);
        rest = trimmed(rest.substr(0, rest.size() - last.size()));
    } else {
        spot.gmt.clear();
    }
    spot.info = std::u16string(rest);
}

}  // namespace

std::optional<ParsedSpot> parseColumnForm(std::u16string_view text) {
    ParsedSpot spot;
    WordReader words(text);
    if (!words.nextWord() || !words.nextWord())
        return std::nullopt;
    if (!readSpotWords(words, FrequencyRule::AnyWord, spot))
        return std::nullopt;
    if (isSkimmerCall(spot.author) && !timeInColumn(text)) {
        readSkimmerTail(words.restOfLine(), spot);
        return spot;
    }
    spot.info = std::u16string(columnInfo(text));
    // A short announcement (some nodes drop the time) is still a spot: it is kept without a time.
    spot.gmt = timeAt(text, kColumnTimeColumn);
    return spot;
}

std::optional<ParsedSpot> parseTimedForm(std::u16string_view text) {
    ParsedSpot spot;
    WordReader words(text);
    if (!words.nextWord())
        return std::nullopt;
    spot.gmt = timeAt(text, 0);
    const auto dx = words.nextWord();
    if (!dx || *dx != u"DX")
        return std::nullopt;
    if (!words.nextWord())
        return std::nullopt;
    // A frequency word such as ".5", ",5" or "0.0" reads as no whole kilohertz: no spot.
    if (!readSpotWords(words, FrequencyRule::NonZeroInteger, spot))
        return std::nullopt;
    spot.info = std::u16string(words.restOfLine());
    return spot;
}

}  // namespace quendra
