// The README's settings table is the operator's reference: it must list exactly the values the
// program reads and writes, with their defaults.
#include "settings/SettingsCatalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <string>
#include <vector>

using namespace quendra;

namespace {

struct Row {
    std::string name;
    std::string fallback;
    bool operator==(const Row&) const = default;
    friend void PrintTo(const Row& row, std::ostream* out) { *out << row.name << " = " << row.fallback; }
};

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// Rows of the settings table: "| `NAME` | DEFAULT | meaning |".
std::vector<Row> readmeSettingsRows() {
    std::ifstream readme(QUENDRA_SOURCE_DIR "/README.md");
    std::vector<Row> rows;
    bool inSettings = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.starts_with("#"))
            inSettings = line == "### Settings";
        if (!inSettings || !line.starts_with("| `"))
            continue;
        const auto nameEnd = line.find('`', 3);
        const auto defaultStart = line.find('|', nameEnd) + 1;
        const auto defaultEnd = line.find('|', defaultStart);
        rows.push_back({line.substr(3, nameEnd - 3), trimmed(line.substr(defaultStart, defaultEnd - defaultStart))});
    }
    return rows;
}

std::string narrow(const std::u16string& text) { return {text.begin(), text.end()}; }

TEST(SettingsCatalogueTest, TheReadmeTableListsEverySettingWithItsDefault) {
    std::vector<Row> catalogue;
    for (const SettingDescription& description : describeSettings())
        catalogue.push_back({narrow(description.name), narrow(description.fallback)});
    EXPECT_EQ(readmeSettingsRows(), catalogue);
}

TEST(SettingsCatalogueTest, FamiliesNameTheirValuesWithADecimalNumber) {
    EXPECT_EQ(setting::kOutputPaneHeight.entry(59649), u"SPLITTER59649");
    EXPECT_EQ(setting::kTelnetAddressHistory.entry(0), u"TELENETADR0");
    EXPECT_EQ(setting::kColumnWidth.entry(5), u"Col5");
}

}  // namespace
