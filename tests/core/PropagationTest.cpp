#include "propagation/PropagationReport.h"

#include <gtest/gtest.h>

using namespace quendra;

namespace {

using Kind = PropagationReport::Kind;

TEST(Propagation, ReadsWwvAndWcyLinesAsNodesSendThem) {
    EXPECT_EQ(parsePropagationLine(u"WWV de ZZ0MU <18>:   SFI=150, A=5, K=2, No Storms -> No Storms"),
              (PropagationReport{Kind::Wwv, u"ZZ0MU", 18, 150, 5, 2}));
    // expK is the forecast, not K.
    EXPECT_EQ(parsePropagationLine(u"WCY de ZZ0WCY-1 <19> : K=2 expK=3 A=8 R=58 SFI=147 SA=qui GMF=qui Au=no"),
              (PropagationReport{Kind::Wcy, u"ZZ0WCY-1", 19, 147, 8, 2}));
    EXPECT_EQ(parsePropagationLine(u"WCY de ZZ0WCY-1 <05> : expK=3 K=4 A=18 R=58 SFI=99 SA=qui GMF=act Au=no\a\a"),
              (PropagationReport{Kind::Wcy, u"ZZ0WCY-1", 5, 99, 18, 4}));
}

TEST(Propagation, RefusesWhatIsNoReport) {
    for (std::u16string_view line : {
             u"DX de ZZ1AB:     14025.0  ZZ2CD        CW 599                         1234Z",
             u"To ALL de ZZ1AB: WWV de ZZ0MU <18>: SFI=150, A=5, K=2",
             u"WWV de ZZ0MU <18>:   SFI=150, A=5, No Storms",        // no K
             u"WWV de ZZ0MU <24>:   SFI=150, A=5, K=2",              // no such hour
             u"WWV de ZZ0MU <18>:   SFI=150, A=5, K=12",             // no such K
             u"WWV de ZZ0MU <18>:   SFI=15O, A=5, K=2",
             u"WWV de <18>:   SFI=150, A=5, K=2",
             u"WWV de ZZ0MU 18:   SFI=150, A=5, K=2",
             u"WWV de ZZ0MU <18   SFI=150, A=5, K=2",
         })
        EXPECT_FALSE(parsePropagationLine(line)) << std::string(line.begin(), line.end());
}

TEST(Propagation, JoinsLinesCutAcrossReads) {
    const std::u16string stream =
        u"ZZ9XY de ZZ0NODE >\r\nWWV de ZZ0MU <18>:   SFI=150, A=5, K=2, No Storms -> No Storms\r\n"
        u"WCY de ZZ0WCY-1 <19> : K=2 expK=3 A=8 R=58 SFI=147 SA=qui GMF=qui Au=no\r\n";
    for (std::size_t cut = 1; cut < stream.size(); ++cut) {
        PropagationReader reader;
        std::vector<PropagationReport> got = reader.feed(std::u16string_view(stream).substr(0, cut));
        for (PropagationReport& report : reader.feed(std::u16string_view(stream).substr(cut)))
            got.push_back(report);
        ASSERT_EQ(got.size(), 2u) << cut;
        EXPECT_EQ(got[0].sfi, 150);
        EXPECT_EQ(got[1].sfi, 147);
    }
}

TEST(Propagation, HistoryKeepsTheLastDayAndABoundedCount) {
    PropagationHistory history;
    const PropagationReport report{Kind::Wwv, u"ZZ0MU", 18, 150, 5, 2};
    history.add(1000, report);
    history.add(1000 + PropagationHistory::kSpanSeconds, report);
    ASSERT_EQ(history.samples().size(), 2u);
    history.add(1001 + PropagationHistory::kSpanSeconds, report);
    EXPECT_EQ(history.samples().size(), 2u);
    EXPECT_EQ(history.samples().front().seconds, 1000 + PropagationHistory::kSpanSeconds);
    for (std::size_t i = 0; i < 3 * PropagationHistory::kMaxSamples; ++i)
        history.add(200'000, report);
    EXPECT_EQ(history.samples().size(), PropagationHistory::kMaxSamples);
    EXPECT_EQ(propagationStatusText({Kind::Wwv, u"ZZ0MU", 6, 150, 5, 2}), u"SFI 150 A 5 K 2 (06Z)");
}

}  // namespace
