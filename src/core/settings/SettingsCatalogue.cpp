#include "settings/SettingsCatalogue.h"

#include <string>

namespace quendra {
namespace {

std::u16string decimal(long long value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

// Sections are nested groups; the settings file writes them with '/'.
std::u16string displayName(std::u16string_view section, std::u16string_view entry) {
    std::u16string name(section);
    for (char16_t& c : name) {
        if (c == u'\\')
            c = u'/';
    }
    return name + u'/' + std::u16string(entry);
}

SettingDescription describe(const IntSetting& setting, bool written) {
    return {displayName(setting.section, setting.entry), written ? decimal(setting.fallback) : u""};
}

SettingDescription describe(const TextSetting& setting) {
    return {displayName(setting.section, setting.entry),
            setting.fallback.empty() ? u"empty" : std::u16string(setting.fallback)};
}

}  // namespace

std::u16string SettingFamily::entry(int number) const { return std::u16string(prefix) + decimal(number); }

int readSetting(Settings& settings, const IntSetting& setting) {
    return settings.GetProfileInt(setting.section, setting.entry, setting.fallback);
}

std::u16string readSetting(Settings& settings, const TextSetting& setting) {
    return settings.GetProfileString(setting.section, setting.entry, setting.fallback);
}

std::optional<std::vector<std::uint8_t>> readSetting(Settings& settings, const BytesSetting& setting) {
    return settings.GetProfileBinary(setting.section, setting.entry);
}

bool writeSetting(Settings& settings, const IntSetting& setting, int value) {
    return settings.WriteProfileInt(setting.section, setting.entry, value);
}

bool writeSetting(Settings& settings, const TextSetting& setting, std::u16string_view value) {
    return settings.WriteProfileString(setting.section, setting.entry, value);
}

bool writeSetting(Settings& settings, const BytesSetting& setting, const std::vector<std::uint8_t>& value) {
    return settings.WriteProfileBinary(setting.section, setting.entry, value);
}

std::vector<SettingDescription> describeSettings() {
    using namespace setting;
    std::u16string columnWidths;
    for (int width : kDefaultColumnWidths)
        columnWidths += (columnWidths.empty() ? u"" : u", ") + decimal(width);
    return {
        describe(kMyCall),
        describe(kEngineHost),
        describe(kEnginePort, true),
        describe(kLastTelnetAddress),
        {displayName(kTelnetAddressHistory.section, kTelnetAddressHistory.prefix) + u"<n>", u"empty"},
        {displayName(kOutputPaneHeight.section, kOutputPaneHeight.prefix) + u"<window id>",
         decimal(kDefaultOutputPaneHeight)},
        describe(kMonitorBufferLines, true),
        describe(kSpotLifetimeSeconds, true),
        describe(kTreeWidth, true),
        describe(kListWidth, false),
        {displayName(kColumnWidth.section, kColumnWidth.prefix) + u"<n>", columnWidths},
        describe(kColumnCount, false),
        {displayName(kColumnOrder.section, kColumnOrder.entry), u"natural"},
        describe(kRadioEnabled, true),
        describe(kRadioHost),
        describe(kRadioPort, true),
        describe(kCountryFile),
        describe(kLocator),
        describe(kExtraColumns),
        describe(kExtraColumnWidths),
        describe(kExtraColumnPlaces),
        describe(kFilterBands),
        describe(kFilterModes),
        describe(kFilterContinents),
        describe(kFilterSpotterContinents),
        describe(kFilterSkimmers, true),
        describe(kFilterText),
        describe(kFilterBarShown, true),
        describe(kCollapseRepeats, true),
        {displayName(kWatchEntry.section, kWatchEntry.prefix) + u"<n>", u"empty"},
        describe(kAlertNotify, true),
        describe(kAlertSound, true),
        describe(kAutoLogin, true),
        describe(kAutoLoginCommands),
        describe(kAutoReconnect, true),
        describe(kAutoEngineReconnect, true),
        describe(kReadSpotListings, true),
        {displayName(kSourceNode.section, kSourceNode.prefix) + u"<n>", u"empty"},
        {displayName(kSourceCall.section, kSourceCall.prefix) + u"<n>", u"empty"},
        {displayName(kSourceCommands.section, kSourceCommands.prefix) + u"<n>", u"empty"},
        describe(kMergeSources, true),
        describe(kLogFile),
        describe(kLogNeed),
        describe(kLogEqsl, true),
        describe(kLogNeededOnly, true),
        describe(kSharePort, true),
        describe(kShareAddress),
        describe(kShareFiltered, true),
        describe(kShareUdp),
        describe(kPropagationStatus, true),
        describe(kActivityHour, true),
        describe(kWsjtxEnabled, true),
        describe(kWsjtxPort, true),
        describe(kWsjtxAddress),
        describe(kSkimmerCheck, true),
        describe(kKnownCallsFile),
        describe(kVerifiedSkimmersOnly, true),
        describe(kBandMapShown, true),
        describe(kBandMapBand),
        describe(kBandMapRegion, true),
        describe(kBandMapFloating, true),
        {displayName(kBandMapGeometry.section, kBandMapGeometry.entry), u"empty"},
        describe(kBandMapWidth, true),
    };
}

}  // namespace quendra
