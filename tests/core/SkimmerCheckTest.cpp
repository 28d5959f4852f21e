#include "skimmer/KnownCalls.h"
#include "skimmer/SkimmerCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quendra;

namespace {

struct Heard {
    const char16_t* call;
    const char16_t* spotter;  // ending "-#": a skimmer
    double kHz;
    int second;
    const char16_t* verdict;  // after every report of the case: "", "verified" or "busted: CALL"
};

struct CheckCase {
    const char* name;
    std::vector<Heard> reports;
    bool withKnownCalls = false;
};

std::u16string said(const SkimmerVerdict* verdict) {
    if (!verdict)
        return u"";
    return verdict->kind == SkimmerVerdict::Kind::Verified ? u"verified" : u"busted: " + verdict->likelyCall;
}

const KnownCalls kKnown = KnownCalls::fromText("# Super check partial\n#\nZZ9ZZ\r\nzz2ce\n  ZZ7AB/P \n\n");

TEST(SkimmerCheck, JudgesSpotsByWhatElseWasHeardNearThem) {
    const CheckCase cases[] = {
        {"one skimmer alone", {{u"ZZ2CD", u"ZZ1A-#", 14025.0, 0, u""}}},
        {"two skimmers",
         {{u"ZZ2CD", u"ZZ1A-#", 14025.0, 0, u"verified"}, {u"ZZ2CD", u"ZZ3B-#", 14025.2, 60, u"verified"}}},
        {"one skimmer twice", {{u"ZZ2CD", u"ZZ1A-#", 14025.0, 0, u""}, {u"ZZ2CD", u"ZZ1A-#", 14025.0, 120, u""}}},
        {"0.3 kHz apart",
         {{u"ZZ2CD", u"ZZ1A-#", 14025.0, 0, u"verified"}, {u"ZZ2CD", u"ZZ3B-#", 14025.3, 0, u"verified"}}},
        {"0.4 kHz apart", {{u"ZZ2CD", u"ZZ1A-#", 14025.0, 0, u""}, {u"ZZ2CD", u"ZZ3B-#", 14025.4, 0, u""}}},
        {"10 minutes apart",
         {{u"ZZ2CD", u"ZZ1A-#", 14025.0, 0, u"verified"}, {u"ZZ2CD", u"ZZ3B-#", 14025.0, 600, u"verified"}}},
        {"over 10 minutes apart",
         {{u"ZZ2CD", u"ZZ1A-#", 14025.0, 0, u""}, {u"ZZ2CD", u"ZZ3B-#", 14025.0, 601, u""}}},
        {"a human spotter", {{u"ZZ2CD", u"ZZ5HU", 14025.1, 0, u""}, {u"ZZ2CD", u"ZZ1A-#", 14025.0, 30, u"verified"}}},
        {"a known call", {{u"ZZ9ZZ", u"ZZ1A-#", 14025.0, 0, u"verified"}}, true},
        {"a known portable call", {{u"ZZ7AB/P", u"ZZ1A-#", 7010.0, 0, u"verified"}, {u"ZZ7AB/QRP", u"ZZ1A-#", 7012.0, 0, u""}}, true},
        {"one letter changed",
         {{u"ZZ2CD", u"ZZ1A-#", 14025.0, 0, u"verified"},
          {u"ZZ2CD", u"ZZ3B-#", 14025.1, 10, u"verified"},
          {u"ZZ2CF", u"ZZ4C-#", 14025.2, 20, u"busted: ZZ2CD"}}},
        {"one letter added and one dropped",
         {{u"ZZ2CD", u"ZZ5HU", 14025.0, 0, u""},
          {u"ZZ2CDD", u"ZZ4C-#", 14025.0, 20, u"busted: ZZ2CD"},
          {u"ZZ2C", u"ZZ6D-#", 14024.9, 30, u"busted: ZZ2CD"}}},
        {"busted before the right call was verified",
         {{u"ZZ2CF", u"ZZ4C-#", 14025.0, 0, u"busted: ZZ2CD"},
          {u"ZZ2CD", u"ZZ1A-#", 14025.0, 10, u"verified"},
          {u"ZZ2CD", u"ZZ3B-#", 14025.0, 20, u"verified"}}},
        {"two letters off",
         {{u"ZZ2CD", u"ZZ5HU", 14025.0, 0, u""}, {u"ZZ3CF", u"ZZ4C-#", 14025.0, 20, u""}}},
        {"one letter off on another frequency",
         {{u"ZZ2CD", u"ZZ5HU", 14025.0, 0, u""}, {u"ZZ2CF", u"ZZ4C-#", 14025.5, 20, u""}}},
        {"one letter off from an unverified call",
         {{u"ZZ2CD", u"ZZ1A-#", 14025.0, 0, u""}, {u"ZZ2CF", u"ZZ4C-#", 14025.0, 20, u""}}},
        {"one letter off but itself known",
         {{u"ZZ2CD", u"ZZ5HU", 14025.0, 0, u""}, {u"ZZ2CE", u"ZZ4C-#", 14025.0, 20, u"verified"}}, true},
        {"the likelier of two verified calls",
         {{u"ZZ2CD", u"ZZ5HU", 14025.0, 0, u""},
          {u"ZZ2CE", u"ZZ6HU", 14025.0, 1, u""},
          {u"ZZ2CE", u"ZZ1A-#", 14025.0, 2, u"verified"},
          {u"ZZ2CF", u"ZZ4C-#", 14025.0, 3, u"busted: ZZ2CE"}}},
    };
    for (const CheckCase& c : cases) {
        SkimmerCheck check(c.withKnownCalls ? &kKnown : nullptr);
        std::uint64_t serial = 100;
        for (const Heard& heard : c.reports) {
            const std::u16string spotter = heard.spotter;
            check.add({serial++, heard.call, spotter, heard.kHz, 1'000'000 + heard.second, spotter.ends_with(u"-#")});
        }
        serial = 100;
        for (const Heard& heard : c.reports)
            EXPECT_EQ(said(check.verdictOf(serial++)), std::u16string(heard.verdict)) << c.name << ", " << serial - 101;
    }
}

TEST(SkimmerCheck, SaysWhichVerdictsChangedAndForgetsWhatIsGone) {
    SkimmerCheck check;
    EXPECT_EQ(check.add({1, u"ZZ2CF", u"ZZ4C-#", 14025.0, 0, true}), std::vector<std::uint64_t>{});
    EXPECT_EQ(check.add({2, u"ZZ2CD", u"ZZ5HU", 14025.0, 1, false}), std::vector<std::uint64_t>{1});
    EXPECT_EQ(check.add({3, u"ZZ2CD", u"ZZ1A-#", 14025.0, 2, true}), std::vector<std::uint64_t>{3});
    EXPECT_EQ(check.verdictsHeld(), 2u);
    check.forget([](std::uint64_t serial) { return serial == 1; });
    EXPECT_EQ(check.verdictOf(1), nullptr);
    EXPECT_NE(check.verdictOf(3), nullptr);
    // Ten minutes on, the old reports are let go.
    check.add({4, u"ZZ8XY", u"ZZ1A-#", 7010.0, 2000, true});
    EXPECT_EQ(check.reportsHeld(), 1u);
}

TEST(SkimmerCheck, OneEditApart) {
    EXPECT_TRUE(oneEditApart(u"ZZ2CD", u"ZZ2CE"));
    EXPECT_TRUE(oneEditApart(u"ZZ2CD", u"ZZ2CDE"));
    EXPECT_TRUE(oneEditApart(u"ZZ2CD", u"Z2CD"));
    EXPECT_TRUE(oneEditApart(u"ZZ2CD", u"ZZ2C"));
    EXPECT_FALSE(oneEditApart(u"ZZ2CD", u"ZZ2CD"));
    EXPECT_FALSE(oneEditApart(u"ZZ2CD", u"ZZ2DC"));
    EXPECT_FALSE(oneEditApart(u"ZZ2CD", u"ZZ2"));
    EXPECT_FALSE(oneEditApart(u"ZZ2CD", u"AZ2CE"));
}

TEST(SkimmerCheck, KnownCallsReadTheSuperCheckPartialFile) {
    EXPECT_EQ(kKnown.size(), 3u);
    EXPECT_TRUE(kKnown.contains(u"ZZ2CE"));
    EXPECT_TRUE(kKnown.contains(u"EA8/ZZ9ZZ"));
    EXPECT_FALSE(kKnown.contains(u"ZZ2CD"));
    EXPECT_FALSE(kKnown.contains(u"#"));
}

}  // namespace
