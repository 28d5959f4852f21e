#pragma once

// Realistic cluster traffic: call signs, spots on HF, VHF and UHF in both announcement forms,
// announcements and propagation bulletins.

#include "StandinRuntime.h"

#include <QDateTime>

#include <array>
#include <string>

namespace standin {

inline std::string callSign(Random& random) {
    static constexpr std::array<const char*, 40> prefixes{
        "DL", "DK", "G",  "M",  "F",  "EA", "I",  "IK", "OH", "SM", "LA", "OZ", "PA", "ON",
        "OK", "OM", "SP", "HA", "YO", "LZ", "S5", "9A", "UA", "UR", "K",  "W",  "N",  "AA",
        "VE", "JA", "VK", "ZL", "PY", "LU", "ZS", "4X", "VU", "BY", "HL", "EI"};
    std::string call = random.pick(prefixes);
    call += static_cast<char>('0' + random.between(0, 9));
    const int letters = random.between(call.size() == 2 ? 2 : 1, 3);
    for (int i = 0; i < letters; ++i)
        call += static_cast<char>('A' + random.between(0, 25));
    return call;
}

struct Band {
    const char* name;
    int lowKHz;
    int highKHz;
    std::array<const char*, 4> modes;
};

inline constexpr std::array<Band, 15> kBands{{
    {"160m", 1810, 1999, {"CW", "CW", "FT8", "SSB"}},
    {"80m", 3500, 3799, {"CW", "SSB", "FT8", "RTTY"}},
    {"40m", 7000, 7199, {"CW", "SSB", "FT8", "FT4"}},
    {"30m", 10100, 10149, {"CW", "FT8", "FT8", "RTTY"}},
    {"20m", 14000, 14349, {"CW", "SSB", "FT8", "RTTY"}},
    {"17m", 18068, 18167, {"CW", "SSB", "FT8", "FT4"}},
    {"15m", 21000, 21449, {"CW", "SSB", "FT8", "RTTY"}},
    {"12m", 24890, 24989, {"CW", "SSB", "FT8", "FT4"}},
    {"10m", 28000, 29699, {"CW", "SSB", "FT8", "FM"}},
    {"6m", 50000, 50499, {"CW", "SSB", "FT8", "MSK144"}},
    {"4m", 70000, 70499, {"CW", "SSB", "FT8", "FM"}},
    {"2m", 144000, 145999, {"CW", "SSB", "FT8", "MSK144"}},
    {"70cm", 432000, 432599, {"CW", "SSB", "JT65", "FT8"}},
    {"23cm", 1296000, 1296599, {"CW", "SSB", "JT65", "Q65"}},
    {"23cm FM", 1240000, 1259999, {"FM", "FM", "SSB", "Q65"}},
}};

struct SpotText {
    std::string author;
    std::string frequency;
    std::string station;
    std::string comment;
    std::string hhmm;
};

inline std::string utcHhmm() {
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("hhmm")).toStdString();
}

inline std::string spotComment(Random& random, const Band& band) {
    static constexpr std::array<const char*, 12> extras{
        "tnx QSO", "up 2", "QSX up 5", "pse QSL direct", "LoTW", "CQ contest", "IOTA EU-005",
        "loud", "weak but readable", "via JO89 > JN58", "new one!", "big pileup"};
    const std::string mode = random.pick(band.modes);
    std::string comment = mode;
    if (mode == "CW" || mode == "RTTY")
        comment += " " + std::to_string(random.between(3, 5)) + "9" + std::to_string(random.between(5, 9));
    else if (mode == "SSB" || mode == "FM")
        comment += " 5" + std::to_string(random.between(3, 9));
    else
        comment += " " + std::to_string(random.between(-24, 5)) + "dB";
    if (band.lowKHz >= 50000 && random.chance(0.4))
        comment += random.chance(0.5) ? " Es" : " tropo";
    if (random.chance(0.5))
        comment += std::string(" ") + random.pick(extras);
    return comment;
}

// A tenth of a kilohertz anywhere in a band, so a long run rarely repeats a spot.
inline SpotText randomSpot(Random& random) {
    const Band& band = random.pick(kBands);
    const int tenths = random.between(band.lowKHz * 10, band.highKHz * 10 + 9);
    SpotText spot;
    spot.author = callSign(random);
    spot.frequency = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    spot.station = callSign(random);
    if (random.chance(0.1))
        spot.station += random.chance(0.5) ? "/P" : "/MM";
    spot.comment = spotComment(random, band);
    spot.hhmm = utcHhmm();
    return spot;
}

inline void padTo(std::string& line, std::size_t column) {
    line.resize(std::max(line.size() + 1, column), ' ');
}

// "DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z": the frequency
// ends at column 23, the station starts at 26, the comment fills 39 to 69, the time 70 to 73.
inline std::string columnSpotLine(const SpotText& spot) {
    std::string line = "DX de " + spot.author + ":";
    padTo(line, 24 - std::min<std::size_t>(spot.frequency.size(), 17));
    line += spot.frequency;
    padTo(line, 26);
    line += spot.station;
    padTo(line, 39);
    std::string comment = spot.comment.substr(0, 31);
    comment.resize(31, ' ');
    return line + comment + spot.hhmm + "Z";
}

// "1234Z DX de ZZ1AB: 14025.0 ZZ2CD CW 599"
inline std::string timedSpotLine(const SpotText& spot) {
    std::string line = spot.hhmm + "Z DX de " + spot.author + ": " + spot.frequency + " " + spot.station;
    if (!spot.comment.empty())
        line += " " + spot.comment;
    return line;
}

inline std::string spotLine(Random& random) {
    const SpotText spot = randomSpot(random);
    return random.chance(0.5) ? columnSpotLine(spot) : timedSpotLine(spot);
}

inline std::string announcementLine(Random& random) {
    static constexpr std::array<const char*, 6> texts{
        "Good conditions on 10m today, 73 all", "Contest this weekend, pse QRX on 14025",
        "Anyone heard the 6m beacon from JO59?", "QSL manager changed, see QRZ",
        "Es opening to EA and CT on 50 MHz", "Node maintenance tonight 2200Z"};
    return "To ALL de " + callSign(random) + ": " + random.pick(texts);
}

inline std::string wwvLine(Random& random) {
    return "WWV de VE7CC <" + std::to_string(random.between(0, 23)) + ">:   SFI=" +
           std::to_string(random.between(70, 250)) + ", A=" + std::to_string(random.between(2, 40)) +
           ", K=" + std::to_string(random.between(0, 7)) + ", No Storms -> No Storms";
}

inline std::string promptLine(const std::string& user, const std::string& node) {
    const QString date = QDateTime::currentDateTimeUtc().toString(QStringLiteral("d-MMM-yyyy"));
    return user + " de " + node + " " + date.toStdString() + " " + utcHhmm() + "Z dxspider >";
}

}  // namespace standin
