#include "links/AddressHistory.h"
#include "links/TelnetAddress.h"
#include "settings/MemorySettings.h"

#include <gtest/gtest.h>

using namespace quendra;

namespace {

struct AddressCase {
    const char* name;
    std::u16string text;
    std::u16string host;
    int port;
};

class TelnetAddressParse : public testing::TestWithParam<AddressCase> {};

TEST_P(TelnetAddressParse, SplitsHostAndPort) {
    const TelnetAddress address = parseTelnetAddress(GetParam().text);
    EXPECT_EQ(address.host, GetParam().host);
    if (!address.host.empty()) {
        EXPECT_EQ(address.port, GetParam().port);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TelnetAddressParse,
    testing::Values(
        AddressCase{"HostAndPort", u"node:8000", u"node", 8000},
        AddressCase{"NoColonGives23", u"node", u"node", 23},
        AddressCase{"EmptyPortGives23", u"node:", u"node", 23},
        AddressCase{"BlankAfterColonSkipped", u"node: 8000", u"node", 8000},
        AddressCase{"LineBreaksAfterColonSkipped", u"node:\r\n 8000\r\n", u"node", 8000},
        AddressCase{"OnlyBlanksAfterColonGive23", u"node:  ", u"node", 23},
        AddressCase{"TextAfterPortIgnored", u"node:8000 xyz", u"node", 8000},
        AddressCase{"PortDigitsThenLetters", u"node:80ab", u"node", 80},
        AddressCase{"PortWithoutDigitsGives0", u"node:telnet", u"node", 0},
        AddressCase{"SecondColonEndsPort", u"node:8000:9", u"node", 8000},
        AddressCase{"LeadingColonsSkipped", u"::node:7300", u"node", 7300},
        AddressCase{"OnlyColons", u":::", u"", 0},
        AddressCase{"Empty", u"", u"", 0},
        AddressCase{"UrlFormGivesSchemeAndZero", u"http://dxc.example.org", u"http", 0},
        AddressCase{"NegativePortKept", u"node:-5", u"node", -5},
        AddressCase{"HostKeepsBlanks", u" node :23", u" node ", 23},
        AddressCase{"DottedAddress", u"192.168.1.20:23", u"192.168.1.20", 23}),
    [](const testing::TestParamInfo<AddressCase>& row) { return std::string(row.param.name); });

TEST(TelnetAddressLimits, OverlongHostIsCutTo999Characters) {
    const std::u16string longHost(1500, u'a');
    const TelnetAddress address = parseTelnetAddress(longHost + u":4000");
    EXPECT_EQ(address.host, std::u16string(kMaxTelnetHostLength, u'a'));
    EXPECT_EQ(address.port, 4000);
    EXPECT_EQ(parseTelnetAddress(std::u16string(999, u'b')).host.size(), 999u);
}

class AddressHistoryTest : public testing::Test {
protected:
    void store(int index, std::u16string_view text) {
        settings.WriteProfileString(u"STATUS", AddressHistory::entryName(index), text);
    }
    std::u16string stored(int index) {
        return settings.GetProfileString(u"STATUS", AddressHistory::entryName(index), u"<none>");
    }
    MemorySettings settings;
    AddressHistory history{settings};
};

TEST_F(AddressHistoryTest, EmptyStoreHasNoEntries) {
    EXPECT_TRUE(history.entries().empty());
    EXPECT_EQ(history.firstFreeIndex(), 0);
    EXPECT_EQ(history.lastConfirmed(), u"");
}

TEST_F(AddressHistoryTest, MissingIndexEndsTheListAndIsReusedFirst) {
    store(0, u"a:23");
    store(2, u"c:23");
    EXPECT_EQ(history.entries(), std::vector<std::u16string>{u"a:23"});
    history.record(u"b:23");
    EXPECT_EQ(stored(1), u"b:23");
    EXPECT_EQ(stored(2), u"c:23");
    EXPECT_EQ(history.entries(), (std::vector<std::u16string>{u"a:23", u"b:23", u"c:23"}));
}

TEST_F(AddressHistoryTest, EmptyValueEndsTheListLikeAMissingOne) {
    store(0, u"");
    store(1, u"b:23");
    EXPECT_TRUE(history.entries().empty());
    EXPECT_EQ(history.firstFreeIndex(), 0);
}

TEST_F(AddressHistoryTest, RecordingKeepsDuplicatesAndTheLastText) {
    history.record(u"node:8000");
    history.record(u"node:8000");
    EXPECT_EQ(history.entries(), (std::vector<std::u16string>{u"node:8000", u"node:8000"}));
    EXPECT_EQ(history.lastConfirmed(), u"node:8000");
    EXPECT_EQ(settings.writeCount(), 4);
}

TEST(AddressHistoryNames, EntryNamesAreDecimal) {
    EXPECT_EQ(AddressHistory::entryName(0), u"TELENETADR0");
    EXPECT_EQ(AddressHistory::entryName(12), u"TELENETADR12");
}

}  // namespace
