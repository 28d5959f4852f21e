#pragma once

#include "settings/Settings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// Every value the program keeps in its settings, declared once: its section, its name and the
// value a reader gets while it is missing. Values are still read where they are used; this is
// only where their names and defaults are spelled.

struct IntSetting {
    std::u16string_view section;
    std::u16string_view entry;
    int fallback;
};

struct TextSetting {
    std::u16string_view section;
    std::u16string_view entry;
    std::u16string_view fallback;
};

struct BytesSetting {
    std::u16string_view section;
    std::u16string_view entry;
};

// Values whose names are a prefix and a decimal number ("TELENETADR0", "SPLITTER59649").
struct SettingFamily {
    std::u16string_view section;
    std::u16string_view prefix;
    std::u16string entry(int number) const;
};

int readSetting(Settings& settings, const IntSetting& setting);
std::u16string readSetting(Settings& settings, const TextSetting& setting);
std::optional<std::vector<std::uint8_t>> readSetting(Settings& settings, const BytesSetting& setting);
bool writeSetting(Settings& settings, const IntSetting& setting, int value);
bool writeSetting(Settings& settings, const TextSetting& setting, std::u16string_view value);
bool writeSetting(Settings& settings, const BytesSetting& setting, const std::vector<std::uint8_t>& value);

namespace setting {

inline constexpr std::u16string_view kStatus = u"STATUS";
inline constexpr std::u16string_view kTelnet = u"SETTINGS\\TELNET";
inline constexpr std::u16string_view kCluster = u"SETTINGS\\DXCLUSTER";
inline constexpr std::u16string_view kClusterFrame = u"SETTINGS\\CLUSTERFRAME";
inline constexpr std::u16string_view kSpotList = u"DXCLUSTER_1";

inline constexpr TextSetting kMyCall{kStatus, u"MYCALL", u"NOCALL"};
inline constexpr TextSetting kEngineHost{kStatus, u"NORRVEL", u"localhost"};
inline constexpr IntSetting kEnginePort{kStatus, u"NORRVEL_PORT", 8000};
inline constexpr TextSetting kLastTelnetAddress{kStatus, u"TELNET", u""};
// The Connect dialog's history: one address a value, ending at the first missing or empty one.
inline constexpr SettingFamily kTelnetAddressHistory{kStatus, u"TELENETADR"};
// A terminal's output pane height, named after the terminal's window id; missing or negative: 40.
inline constexpr SettingFamily kOutputPaneHeight{kStatus, u"SPLITTER"};
inline constexpr int kDefaultOutputPaneHeight = 40;

inline constexpr IntSetting kMonitorBufferLines{kTelnet, u"MONITORBUFFERLINES", 50};
inline constexpr IntSetting kSpotLifetimeSeconds{kCluster, u"MAXTIME", 1800};
inline constexpr IntSetting kTreeWidth{kClusterFrame, u"TREESIZE", 50};
// Written at exit for the record; never read back.
inline constexpr IntSetting kListWidth{kClusterFrame, u"GRAPH", 0};
inline constexpr IntSetting kColumnCount{kSpotList, u"HOWMANYCOLUMNS", 0};
// Column widths Col0 .. Col5, each with a default of its own.
inline constexpr SettingFamily kColumnWidth{kSpotList, u"Col"};
inline constexpr std::array<int, 6> kDefaultColumnWidths{100, 100, 200, 80, 100, 100};
inline constexpr BytesSetting kColumnOrder{kSpotList, u"ORDER"};

// Extensions keep their values in sections of their own, so a settings file without them reads
// exactly as before and every extension stays off.
inline constexpr std::u16string_view kRadio = u"RADIO";
inline constexpr IntSetting kRadioEnabled{kRadio, u"ENABLED", 0};
inline constexpr TextSetting kRadioHost{kRadio, u"HOST", u"127.0.0.1"};
inline constexpr IntSetting kRadioPort{kRadio, u"PORT", 4532};
// Empty: a cty.dat in the user's data folder, else the one the system installed.
inline constexpr TextSetting kCountryFile{u"DXCC", u"CTYFILE", u""};
inline constexpr TextSetting kLocator{kStatus, u"LOCATOR", u""};
// Titles of the optional list columns shown, comma-separated.
inline constexpr TextSetting kExtraColumns{kSpotList, u"EXTRACOLUMNS", u""};
// Their widths, comma-separated, in the same order.
inline constexpr TextSetting kExtraColumnWidths{kSpotList, u"EXTRAWIDTHS", u""};
// Their places among all shown columns, so they may stand between the classic ones.
inline constexpr TextSetting kExtraColumnPlaces{kSpotList, u"EXTRAPLACES", u""};

// The filter bar. Lists are comma-separated names; an empty list restricts nothing.
inline constexpr std::u16string_view kFilters = u"FILTERS";
inline constexpr TextSetting kFilterBands{kFilters, u"BANDS", u""};
inline constexpr TextSetting kFilterModes{kFilters, u"MODES", u""};
inline constexpr TextSetting kFilterContinents{kFilters, u"CONTINENTS", u""};
inline constexpr TextSetting kFilterSpotterContinents{kFilters, u"SPOTTER_CONTINENTS", u""};
inline constexpr IntSetting kFilterSkimmers{kFilters, u"SKIMMER", 1};
inline constexpr TextSetting kFilterText{kFilters, u"TEXT", u""};
inline constexpr IntSetting kFilterBarShown{kFilters, u"SHOWN", 0};
inline constexpr IntSetting kCollapseRepeats{kFilters, u"COLLAPSE", 0};

// Watched stations: one entry a value, ending at the first missing or empty one.
inline constexpr std::u16string_view kAlerts = u"ALERTS";
inline constexpr SettingFamily kWatchEntry{kAlerts, u"WATCH"};
inline constexpr IntSetting kAlertNotify{kAlerts, u"NOTIFY", 1};
inline constexpr IntSetting kAlertSound{kAlerts, u"SOUND", 0};

// Unattended links. COMMANDS holds one command a line, sent after the login.
inline constexpr std::u16string_view kAutoLink = u"AUTOLINK";
inline constexpr IntSetting kAutoLogin{kAutoLink, u"LOGIN", 0};
inline constexpr TextSetting kAutoLoginCommands{kAutoLink, u"COMMANDS", u""};
inline constexpr IntSetting kAutoReconnect{kAutoLink, u"RECONNECT", 0};
inline constexpr IntSetting kAutoEngineReconnect{kAutoLink, u"ENGINE_RECONNECT", 0};
inline constexpr IntSetting kReadSpotListings{kAutoLink, u"LISTINGS", 0};

// More sources: node links beside the classic one, NODE0, NODE1, ... ("host:port"), each ending at
// the first missing or empty one, with the call to log in with and the start-up commands (one a
// line, or separated by '|'). MERGE is read only once a source is set.
inline constexpr std::u16string_view kSources = u"SOURCES";
inline constexpr SettingFamily kSourceNode{kSources, u"NODE"};
inline constexpr SettingFamily kSourceCall{kSources, u"CALL"};
inline constexpr SettingFamily kSourceCommands{kSources, u"COMMANDS"};
inline constexpr IntSetting kMergeSources{kSources, u"MERGE", 1};

// The operator's log: an ADIF file, followed as it grows. NEED is "worked" or "confirmed".
inline constexpr std::u16string_view kLog = u"LOG";
inline constexpr TextSetting kLogFile{kLog, u"ADIF", u""};
inline constexpr TextSetting kLogNeed{kLog, u"NEED", u"worked"};
inline constexpr IntSetting kLogEqsl{kLog, u"EQSL", 0};
inline constexpr IntSetting kLogNeededOnly{kLog, u"NEEDED_ONLY", 0};

// The local node and the spots broadcast. PORT 0 leaves the node off; UDP is "host:port", empty
// for none.
inline constexpr std::u16string_view kShare = u"SHARE";
inline constexpr IntSetting kSharePort{kShare, u"PORT", 0};
inline constexpr TextSetting kShareAddress{kShare, u"ADDRESS", u"127.0.0.1"};
inline constexpr IntSetting kShareFiltered{kShare, u"FILTERED", 0};
inline constexpr TextSetting kShareUdp{kShare, u"UDP", u""};

// Propagation reports (WWV, WCY): 1 shows the last one in the status bar.
inline constexpr IntSetting kPropagationStatus{u"PROPAGATION", u"STATUS", 0};

// Band activity: 1 counts the last hour instead of the last quarter hour.
inline constexpr IntSetting kActivityHour{u"ACTIVITY", u"HOUR", 0};

// WSJT-X's UDP messages: its decodes that call CQ become spots. ADDRESS may be a multicast group.
inline constexpr std::u16string_view kWsjtx = u"WSJTX";
inline constexpr IntSetting kWsjtxEnabled{kWsjtx, u"ENABLED", 0};
inline constexpr IntSetting kWsjtxPort{kWsjtx, u"PORT", 2237};
inline constexpr TextSetting kWsjtxAddress{kWsjtx, u"ADDRESS", u"127.0.0.1"};

// Skimmer spots checked against each other, human spots and the calls known to be on the air.
inline constexpr std::u16string_view kSkimmer = u"SKIMMER";
inline constexpr IntSetting kSkimmerCheck{kSkimmer, u"CHECK", 0};
inline constexpr TextSetting kKnownCallsFile{kSkimmer, u"SCP", u"/usr/share/hamradio-files/MASTER.SCP"};
inline constexpr IntSetting kVerifiedSkimmersOnly{kSkimmer, u"VERIFIED_ONLY", 0};

// The band map: whether it is shown, the band picked in it (the radio's band wins while the
// radio is on), the IARU region whose plan it draws, and where its pane stands.
inline constexpr std::u16string_view kBandMap = u"BANDMAP";
inline constexpr IntSetting kBandMapShown{kBandMap, u"SHOWN", 0};
inline constexpr TextSetting kBandMapBand{kBandMap, u"BAND", u"20m"};
inline constexpr IntSetting kBandMapRegion{kBandMap, u"REGION", 1};
inline constexpr IntSetting kBandMapFloating{kBandMap, u"FLOATING", 0};
inline constexpr BytesSetting kBandMapGeometry{kBandMap, u"GEOMETRY"};
// 0: the width the pane asks for.
inline constexpr IntSetting kBandMapWidth{kBandMap, u"WIDTH", 0};

}  // namespace setting

// One line of the catalogue as a person reads it: the value's name ("STATUS/MYCALL", or
// "STATUS/TELENETADR<n>" for a family) and its default as text ("" when it has none).
struct SettingDescription {
    std::u16string name;
    std::u16string fallback;
};

// Every value above, in the order of the README's settings table.
std::vector<SettingDescription> describeSettings();

}  // namespace quendra
