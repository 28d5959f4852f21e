#include "autolink/SpotListing.h"

#include "filters/NamedValues.h"
#include "text/CaseFold.h"
#include "text/Numbers.h"

#include <array>

namespace quendra {
namespace {

constexpr std::size_t kMaxCallLength = 15;

bool isBlank(char16_t ch) { return ch == u' ' || ch == u'\t'; }
bool isLetter(char16_t ch) { return (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z'); }

std::u16string_view nextWord(std::u16string_view& rest) {
    std::size_t at = 0;
    while (at < rest.size() && isBlank(rest[at]))
        ++at;
    const std::size_t start = at;
    while (at < rest.size() && !isBlank(rest[at]))
        ++at;
    const std::u16string_view word = rest.substr(start, at - start);
    rest.remove_prefix(at);
    return word;
}

bool allDigits(std::u16string_view text) {
    if (text.empty())
        return false;
    for (char16_t ch : text) {
        if (!isDecimalDigit(ch))
            return false;
    }
    return true;
}

int digitsValue(std::u16string_view digits) {
    int value = 0;
    for (char16_t ch : digits)
        value = value * 10 + (ch - u'0');
    return value;
}

bool isFrequency(std::u16string_view word) {
    const std::size_t point = word.find(u'.');
    const std::u16string_view whole = word.substr(0, point);
    const std::u16string_view fraction = point == std::u16string_view::npos ? u"0" : word.substr(point + 1);
    return allDigits(whole) && allDigits(fraction) && readLeadingDouble(word) > 0;
}

bool isCall(std::u16string_view word, bool spotter) {
    if (word.size() < 3 || word.size() > kMaxCallLength)
        return false;
    bool digit = false, letter = false;
    for (char16_t ch : word) {
        digit = digit || isDecimalDigit(ch);
        letter = letter || isLetter(ch);
        // Skimmers and node users sign as CALL-# or CALL-1.
        const bool allowed = isDecimalDigit(ch) || isLetter(ch) || ch == u'/' || (spotter && (ch == u'-' || ch == u'#'));
        if (!allowed)
            return false;
    }
    return digit && letter;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// Sunday = 0, as the system-time record counts.
int dayOfWeek(int year, int month, int day) {
    constexpr std::array<int, 12> kOffsets{0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3)
        --year;
    return (year + year / 4 - year / 100 + year / 400 + kOffsets[static_cast<std::size_t>(month - 1)] + day) % 7;
}

// "7-Dec-2026" into the date fields of `time`.
bool readDate(std::u16string_view word, SystemTime& time) {
    constexpr std::array<std::string_view, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::size_t first = word.find(u'-');
    const std::size_t second = first == std::u16string_view::npos ? first : word.find(u'-', first + 1);
    if (second == std::u16string_view::npos)
        return false;
    const std::u16string_view day = word.substr(0, first);
    const std::u16string_view month = word.substr(first + 1, second - first - 1);
    const std::u16string_view year = word.substr(second + 1);
    if (day.size() > 2 || !allDigits(day) || year.size() != 4 || !allDigits(year))
        return false;
    int monthNumber = 0;
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (equalsIgnoringCase(month, kMonths[i]))
            monthNumber = static_cast<int>(i) + 1;
    }
    const int yearNumber = digitsValue(year);
    const int dayNumber = digitsValue(day);
    if (monthNumber == 0 || yearNumber < 1970 || dayNumber < 1 || dayNumber > daysInMonth(yearNumber, monthNumber))
        return false;
    time.year = static_cast<std::uint16_t>(yearNumber);
    time.month = static_cast<std::uint16_t>(monthNumber);
    time.day = static_cast<std::uint16_t>(dayNumber);
    time.dayOfWeek = static_cast<std::uint16_t>(dayOfWeek(yearNumber, monthNumber, dayNumber));
    return true;
}

// "1234Z" into the hour and minute of `time`.
bool readTime(std::u16string_view word, SystemTime& time) {
    if (word.size() != 5 || (word[4] != u'Z' && word[4] != u'z') || !allDigits(word.substr(0, 4)))
        return false;
    const int hour = digitsValue(word.substr(0, 2));
    const int minute = digitsValue(word.substr(2, 2));
    if (hour > 23 || minute > 59)
        return false;
    time.hour = static_cast<std::uint16_t>(hour);
    time.minute = static_cast<std::uint16_t>(minute);
    return true;
}

std::u16string folded(std::u16string_view text) {
    std::u16string out(text);
    foldToUpper(out);
    return out;
}

}  // namespace

bool ListedSpot::operator==(const ListedSpot& other) const {
    const auto fields = [](const SystemTime& t) {
        return std::array{t.year, t.month, t.dayOfWeek, t.day, t.hour, t.minute, t.second, t.milliseconds};
    };
    return spot == other.spot && fields(time) == fields(other.time);
}

std::optional<ListedSpot> parseSpotListing(std::u16string_view line) {
    while (!line.empty() && (line.back() == u'\r' || line.back() == u'\n' || line.back() == u'\a' || isBlank(line.back())))
        line.remove_suffix(1);
    if (line.empty() || line.back() != u'>')
        return std::nullopt;
    const std::size_t open = line.rfind(u'<');
    if (open == std::u16string_view::npos)
        return std::nullopt;
    const std::u16string_view spotter = line.substr(open + 1, line.size() - open - 2);
    std::u16string_view rest = line.substr(0, open);

    ListedSpot listed;
    const std::u16string_view frequency = nextWord(rest);
    const std::u16string_view station = nextWord(rest);
    if (!isFrequency(frequency) || !isCall(station, false) || !isCall(spotter, true) ||
        !readDate(nextWord(rest), listed.time) || !readTime(nextWord(rest), listed.time))
        return std::nullopt;
    listed.spot.station = folded(station);
    listed.spot.author = folded(spotter);
    listed.spot.frequency = std::u16string(frequency);
    listed.spot.info = std::u16string(trimBlanks(rest));
    const auto two = [](int value) {
        return std::u16string{static_cast<char16_t>(u'0' + value / 10), static_cast<char16_t>(u'0' + value % 10)};
    };
    listed.spot.gmt = two(listed.time.hour) + u':' + two(listed.time.minute);
    return listed;
}

}  // namespace quendra
