#include "propagation/PropagationReport.h"

#include <string>

namespace quendra {
namespace {

bool isDigit(char16_t ch) { return ch >= u'0' && ch <= u'9'; }

// Digits only, at most four, into `value`.
bool readNumber(std::u16string_view text, int& value) {
    if (text.empty() || text.size() > 4)
        return false;
    value = 0;
    for (char16_t ch : text) {
        if (!isDigit(ch))
            return false;
        value = value * 10 + (ch - u'0');
    }
    return true;
}

std::u16string decimal(int value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

}  // namespace

std::optional<PropagationReport> parsePropagationLine(std::u16string_view line) {
    while (!line.empty() && (line.front() == u' ' || line.front() == u'\a'))
        line.remove_prefix(1);
    PropagationReport report;
    if (line.starts_with(u"WWV de "))
        report.kind = PropagationReport::Kind::Wwv;
    else if (line.starts_with(u"WCY de "))
        report.kind = PropagationReport::Kind::Wcy;
    else
        return std::nullopt;
    line.remove_prefix(7);
    const std::size_t open = line.find(u'<');
    const std::size_t close = line.find(u'>');
    const std::size_t colon = close == std::u16string_view::npos ? close : line.find(u':', close);
    if (open == std::u16string_view::npos || close < open || colon == std::u16string_view::npos)
        return std::nullopt;
    std::u16string_view source = line.substr(0, open);
    while (!source.empty() && source.back() == u' ')
        source.remove_suffix(1);
    if (source.empty() || source.size() > 15 || source.find(u' ') != std::u16string_view::npos)
        return std::nullopt;
    if (!readNumber(line.substr(open + 1, close - open - 1), report.hour) || report.hour > 23)
        return std::nullopt;
    report.source = std::u16string(source);

    bool sfi = false, a = false, k = false;
    std::u16string_view rest = line.substr(colon + 1);
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of(u" ,");
        const std::u16string_view word = rest.substr(0, end);
        rest.remove_prefix(end == std::u16string_view::npos ? rest.size() : end + 1);
        const std::size_t equals = word.find(u'=');
        if (equals == std::u16string_view::npos)
            continue;
        const std::u16string_view key = word.substr(0, equals);
        const std::u16string_view value = word.substr(equals + 1);
        if (key == u"SFI")
            sfi = readNumber(value, report.sfi) && report.sfi <= 999;
        else if (key == u"A")
            a = readNumber(value, report.a) && report.a <= 400;
        else if (key == u"K")
            k = readNumber(value, report.k) && report.k <= 9;
    }
    if (!sfi || !a || !k)
        return std::nullopt;
    return report;
}

std::vector<PropagationReport> PropagationReader::feed(std::u16string_view text) {
    std::vector<PropagationReport> reports;
    for (const std::u16string& line : lines_.feed(text)) {
        if (auto report = parsePropagationLine(line))
            reports.push_back(std::move(*report));
    }
    return reports;
}

void PropagationHistory::add(std::int64_t seconds, const PropagationReport& report) {
    if (samples_.size() >= kMaxSamples)
        samples_.pop_front();
    samples_.push_back({seconds, report});
    prune(seconds);
}

void PropagationHistory::prune(std::int64_t now) {
    while (!samples_.empty() && samples_.front().seconds < now - kSpanSeconds)
        samples_.pop_front();
}

std::u16string propagationStatusText(const PropagationReport& report) {
    const std::u16string hour = report.hour < 10 ? u"0" + decimal(report.hour) : decimal(report.hour);
    return u"SFI " + decimal(report.sfi) + u" A " + decimal(report.a) + u" K " + decimal(report.k) + u" (" + hour +
           u"Z)";
}

}  // namespace quendra
