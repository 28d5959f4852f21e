#include "share/NodeLines.h"

#include "spots/SpotStore.h"
#include "text/CodePage.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace quendra {
namespace {

constexpr std::size_t kFrequencyEnd = 24;  // one past the frequency's last column
constexpr std::size_t kStationColumn = 26;
constexpr std::size_t kStationWidth = 12;
constexpr std::size_t kCommentColumn = 39;
constexpr std::size_t kCommentWidth = 30;
constexpr std::size_t kTimeColumn = 70;

std::string frequencyText(const Spot& spot, double kHz) {
    if (!(kHz > 0) || kHz >= 1e9)
        return encodeWindows1252(spot.frequency);
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.1f", kHz);
    return text.data();
}

void padTo(std::string& line, std::size_t column) {
    if (line.size() < column)
        line.resize(column, ' ');
}

std::string fitted(std::u16string_view text, std::size_t width) {
    std::string bytes = encodeWindows1252(text.substr(0, width));
    // Control characters would end or garble a line at the reader: they go out as blanks.
    for (char& ch : bytes) {
        if (static_cast<unsigned char>(ch) < 0x20)
            ch = ' ';
    }
    return bytes;
}

// "hhmm": the time the announcement carried, else the time the spot arrived.
std::string hhmm(const Spot& spot) {
    if (spot.gmt.size() == 5 && spot.gmt[2] == u':')
        return fitted(spot.gmt.substr(0, 2), 2) + fitted(spot.gmt.substr(3, 2), 2);
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "%02u%02u", spot.received.hour % 24u, spot.received.minute % 60u);
    return text.data();
}

std::string dateText(const SystemTime& time) {
    static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const unsigned month = time.month >= 1 && time.month <= 12 ? time.month - 1u : 0u;
    std::array<char, 24> text{};
    std::snprintf(text.data(), text.size(), "%u-%s-%04u", time.day % 100u, kMonths[month], time.year % 10000u);
    return text.data();
}

}  // namespace

std::string announcementLine(const Spot& spot, double kHz) {
    const std::string frequency = frequencyText(spot, kHz).substr(0, kFrequencyEnd - 8);
    // "DX de " + author + ":" must leave room for the frequency before its end column.
    const std::size_t authorRoom = kFrequencyEnd - frequency.size() - 7;
    std::string line = "DX de " + fitted(spot.author, authorRoom) + ":";
    padTo(line, kFrequencyEnd - frequency.size());
    line += frequency;
    padTo(line, kStationColumn);
    line += fitted(spot.station, kStationWidth);
    padTo(line, kCommentColumn);
    line += fitted(spot.info, kCommentWidth);
    padTo(line, kTimeColumn);
    return line + hhmm(spot) + "Z\r\n";
}

std::string listingLine(const Spot& spot, double kHz) {
    std::string frequency = frequencyText(spot, kHz).substr(0, 9);
    std::string line(9 - frequency.size(), ' ');
    line += frequency + " " + fitted(spot.station, kStationWidth);
    padTo(line, 23);
    line += dateText(spot.received) + " " + hhmm(spot) + "Z " + fitted(spot.info, kCommentWidth);
    padTo(line, 70);
    return line + "<" + fitted(spot.author, 15) + ">\r\n";
}

std::string listingLines(const SpotStore& store, int count) {
    std::string lines;
    const int oldest = std::max(0, store.count() - std::max(0, count));
    for (int index = store.count() - 1; index >= oldest; --index)
        lines += listingLine(store.spotAt(index), store.frequencyKHzAt(index));
    return lines;
}

std::string promptLine(std::string_view call, const SystemTime& now) {
    std::array<char, 8> time{};
    std::snprintf(time.data(), time.size(), "%02u%02u", now.hour % 24u, now.minute % 60u);
    return std::string(call) + " de QUENDRA " + dateText(now) + " " + time.data() + "Z >\r\n";
}

}  // namespace quendra
