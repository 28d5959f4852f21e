#include "share/SpotPacket.h"

#include <gtest/gtest.h>

using namespace quendra;

namespace {

TEST(SpotPacket, AddAndDeleteAsLoggersReadThem) {
    SpotPacketFields fields{u"ZZ2CD", u"ZZ1AB-#", u"CW 599 <loud> & \"clear\" \u00e9", 14025.0, Mode::CW,
                            SystemTime{2026, 12, 1, 7, 12, 34, 5, 0}};
    EXPECT_EQ(spotPacket(fields, SpotAction::Add),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?><spot><app>Quendra</app><dxcall>ZZ2CD</dxcall>"
              "<frequency>14025.0</frequency><spottercall>ZZ1AB-#</spottercall>"
              "<comment>CW 599 &lt;loud&gt; &amp; &quot;clear&quot; \xc3\xa9</comment><mode>CW</mode>"
              "<timestamp>2026/12/07 12:34:05</timestamp><action>add</action></spot>");
    fields.kHz = 1296123.47;
    fields.mode = Mode::Unknown;
    fields.comment = u"bell\a";
    EXPECT_EQ(spotPacket(fields, SpotAction::Delete),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?><spot><app>Quendra</app><dxcall>ZZ2CD</dxcall>"
              "<frequency>1296123.5</frequency><spottercall>ZZ1AB-#</spottercall><comment>bell?</comment>"
              "<mode></mode><timestamp>2026/12/07 12:34:05</timestamp><action>delete</action></spot>");
}

TEST(SpotPacket, ReadsTheTarget) {
    UdpTarget target;
    ASSERT_TRUE(parseUdpTarget(u" 127.0.0.1:12060 ", target));
    EXPECT_EQ(target.host, u"127.0.0.1");
    EXPECT_EQ(target.port, 12060);
    ASSERT_TRUE(parseUdpTarget(u"[::1]:9", target));
    EXPECT_EQ(target.host, u"::1");
    for (std::u16string_view bad : {u"", u"127.0.0.1", u":12060", u"host:", u"host:0", u"host:65536", u"host:12o6",
                                    u"host:1234567"})
        EXPECT_FALSE(parseUdpTarget(bad, target)) << std::string(bad.begin(), bad.end());
}

}  // namespace
