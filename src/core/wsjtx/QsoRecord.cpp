#include "wsjtx/QsoRecord.h"

#include "modes/BandPlan.h"

#include <cctype>
#include <charconv>

namespace quendra::wsjtx {
namespace {

void field(std::string& out, std::string_view name, std::string_view data) {
    if (data.empty())
        return;
    out += '<';
    out += name;
    out += ':';
    out += std::to_string(data.size());
    out += '>';
    out += data;
}

std::string digits(std::uint64_t value, int width) {
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

std::string adifTime(std::uint32_t msOfDay) {
    const std::uint32_t seconds = msOfDay / 1000;
    return digits(seconds / 3600, 2) + digits(seconds / 60 % 60, 2) + digits(seconds % 60, 2);
}

std::string megahertz(std::uint64_t hz) { return std::to_string(hz / 1'000'000) + '.' + digits(hz % 1'000'000, 6); }

// Modes ADIF counts as submodes of MFSK.
bool isMfskSubmode(std::string_view mode) {
    return mode == "FT4" || mode == "FST4" || mode == "FST4W" || mode == "Q65" || mode == "JS8";
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

std::string adifDate(std::int64_t julianDay) {
    // Years 1 to 9999 only: ADIF writes four digits, and a peer's day number may be anything.
    if (julianDay < 1'721'426 || julianDay > 5'373'484)
        return {};
    // Fliegel and Van Flandern's conversion to the Gregorian calendar.
    std::int64_t l = julianDay + 68569;
    const std::int64_t n = 4 * l / 146097;
    l -= (146097 * n + 3) / 4;
    const std::int64_t i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    const std::int64_t j = 80 * l / 2447;
    const std::int64_t day = l - 2447 * j / 80;
    l = j / 11;
    const std::int64_t month = j + 2 - 12 * l;
    const std::int64_t year = 100 * (n - 49) + i + l;
    return digits(static_cast<std::uint64_t>(year), 4) + digits(static_cast<std::uint64_t>(month), 2) +
           digits(static_cast<std::uint64_t>(day), 2);
}

std::string adifRecord(const QsoLogged& qso) {
    std::string out;
    field(out, "call", qso.dxCall);
    field(out, "gridsquare", qso.dxGrid);
    if (isMfskSubmode(qso.mode)) {
        field(out, "mode", "MFSK");
        field(out, "submode", qso.mode);
    } else {
        field(out, "mode", qso.mode);
    }
    if (qso.txHz > 0) {
        if (const AmateurBand* band = amateurBandAt(static_cast<double>(qso.txHz) / 1000.0))
            field(out, "band", band->name);
        field(out, "freq", megahertz(qso.txHz));
    }
    const DateTime& on = qso.on.julianDay != 0 ? qso.on : qso.off;
    field(out, "qso_date", adifDate(on.julianDay));
    field(out, "time_on", adifTime(on.msOfDay));
    field(out, "qso_date_off", adifDate(qso.off.julianDay));
    field(out, "time_off", adifTime(qso.off.msOfDay));
    field(out, "rst_sent", qso.reportSent);
    field(out, "rst_rcvd", qso.reportReceived);
    field(out, "tx_pwr", qso.txPower);
    field(out, "comment", qso.comments);
    field(out, "name", qso.name);
    field(out, "operator", qso.operatorCall);
    field(out, "station_callsign", qso.myCall);
    field(out, "my_gridsquare", qso.myGrid);
    field(out, "stx_string", qso.exchangeSent);
    field(out, "srx_string", qso.exchangeReceived);
    field(out, "prop_mode", qso.propagationMode);
    out += "<eor>";
    return out;
}

namespace {

// Walks the tags by their lengths, so a '<' inside a field's data is never taken for a tag; hands
// each field to `seen` and returns where the first record after any header starts and ends.
template <class Seen>
std::optional<std::pair<std::size_t, std::size_t>> walkRecord(std::string_view adif, Seen&& seen) {
    std::size_t at = 0;
    std::size_t recordStart = std::string_view::npos;
    while (true) {
        const std::size_t open = adif.find('<', at);
        if (open == std::string_view::npos)
            return std::nullopt;
        const std::size_t close = adif.find('>', open);
        if (close == std::string_view::npos)
            return std::nullopt;
        const std::string_view tag = adif.substr(open + 1, close - open - 1);
        const std::size_t colon = tag.find(':');
        const std::string_view name = tag.substr(0, colon);
        at = close + 1;
        if (equalsIgnoringCase(name, "eoh")) {
            recordStart = std::string_view::npos;
            continue;
        }
        if (equalsIgnoringCase(name, "eor")) {
            if (recordStart == std::string_view::npos)
                return std::nullopt;
            return std::pair{recordStart, at};
        }
        // Fields before <EOH> belong to the header and are forgotten when it ends.
        if (recordStart == std::string_view::npos)
            recordStart = open;
        if (colon != std::string_view::npos) {
            std::string_view lengthText = tag.substr(colon + 1);
            lengthText = lengthText.substr(0, lengthText.find(':'));
            std::size_t length = 0;
            const auto [end, error] = std::from_chars(lengthText.data(), lengthText.data() + lengthText.size(), length);
            if (error != std::errc() || end != lengthText.data() + lengthText.size() || length > adif.size() - at)
                return std::nullopt;
            seen(name, adif.substr(at, length));
            at += length;
        }
    }
}

}  // namespace

std::optional<std::string> firstAdifRecord(std::string_view adif) {
    const auto record = walkRecord(adif, [](std::string_view, std::string_view) {});
    if (!record)
        return std::nullopt;
    return std::string(adif.substr(record->first, record->second - record->first));
}

std::string qsoKey(std::string_view record) {
    std::string call;
    std::string date;
    std::string time;
    const auto walked = walkRecord(record, [&](std::string_view name, std::string_view data) {
        if (equalsIgnoringCase(name, "call")) {
            call.clear();
            for (char ch : data)
                call += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        } else if (equalsIgnoringCase(name, "qso_date")) {
            date = data;
        } else if (equalsIgnoringCase(name, "time_on")) {
            time = data.substr(0, 4);
        }
    });
    if (!walked || call.empty())
        return {};
    return call + ' ' + date + ' ' + time;
}

}  // namespace quendra::wsjtx
