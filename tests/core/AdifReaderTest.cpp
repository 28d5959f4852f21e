#include "log/AdifReader.h"
#include "log/AdifValues.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace quendra;

namespace quendra {
void PrintTo(const AdifQso& qso, std::ostream* out) {
    *out << qso.call << " band " << qso.band << " group " << modeGroupName(qso.modeGroup) << " dxcc "
         << (qso.dxcc ? std::to_string(*qso.dxcc) : "-") << (qso.confirmed ? " confirmed" : "")
         << (qso.eqslConfirmed ? " eqsl" : "");
}
}  // namespace quendra

namespace {

// amateurBands() indexes.
constexpr int k40m = 3;
constexpr int k20m = 5;
constexpr int k15m = 7;
constexpr int k70cm = 13;

struct ReadResult {
    std::vector<AdifQso> qsos;
    int damaged = 0;
};

// Feeds the text in pieces of `piece` bytes (0: all at once), then ends the file.
ReadResult readAdif(std::string_view text, std::size_t piece = 0) {
    AdifReader reader;
    ReadResult result;
    const std::size_t step = piece == 0 ? std::max<std::size_t>(text.size(), 1) : piece;
    for (std::size_t at = 0; at < text.size(); at += step)
        reader.feed(text.substr(at, step), result.qsos);
    reader.finish(result.qsos);
    result.damaged = reader.damagedRecords();
    return result;
}

AdifQso qso(std::string call, int band, ModeGroup group, std::optional<int> dxcc = {}, bool confirmed = false,
            bool eqsl = false) {
    return AdifQso{std::move(call), band, group, dxcc, confirmed, eqsl};
}

// As loggers write it: a header with free text and fields, CR LF, tags in any case, type letters,
// comments between fields, a NAME in UTF-8 whose length counts bytes ("Jörg" is 5), FREQ without
// BAND, MODE with SUBMODE, the three confirmations, and a last record without <EOR>.
constexpr std::string_view kLoggerFile =
    "Exported by a logger on 2026-12-07\r\n"
    "<ADIF_VER:5>3.1.4 <programid:6>Logger\r\n"
    "<EOH>\r\n"
    "<call:6>zz1abc <QSO_DATE:8:D>20261207 <name:5>J\xc3\xb6rg <band:3>20M <mode:2>CW\r\n"
    "<dxcc:3>230 <lotw_qsl_rcvd:1>Y <eor>\r\n"
    "a comment between records\r\n"
    "<CALL:5>ZZ2AB<FREQ:9>7.1500000<MODE:3>SSB<SUBMODE:3>LSB<QSL_RCVD:1>v<EOR>\n"
    "<Call:5>ZZ3CD<Band:4>70cm<Mode:4>MFSK<SubMode:3>FT4<EQSL_QSL_RCVD:1>Y<QSL_RCVD:1>N<EoR>\n"
    "<CALL:5>ZZ4EF<BAND:3>15m<MODE:3>FT8<EQSL_QSL_RCVD:1>V<NOTES:14>a <b> c\r\nd e f\r\n";

const std::vector<AdifQso> kLoggerQsos{
    qso("ZZ1ABC", k20m, ModeGroup::CW, 230, true),
    qso("ZZ2AB", k40m, ModeGroup::Phone, {}, true),
    qso("ZZ3CD", k70cm, ModeGroup::Digital, {}, false, true),
    qso("ZZ4EF", k15m, ModeGroup::Digital),  // an eQSL "V" does not confirm
};

class AdifPieces : public testing::TestWithParam<std::size_t> {};

// Cut anywhere (inside tags, lengths, UTF-8 data and CR LF pairs) the file reads the same.
TEST_P(AdifPieces, LoggerFileReadsTheSameInAnyPieces) {
    const ReadResult result = readAdif(kLoggerFile, GetParam());
    EXPECT_EQ(result.qsos, kLoggerQsos);
    EXPECT_EQ(result.damaged, 0);
}

INSTANTIATE_TEST_SUITE_P(Pieces, AdifPieces, testing::Values(0, 1, 2, 3, 7, 64));

TEST(AdifReader, FileWithoutHeaderStartsWithRecords) {
    EXPECT_EQ(readAdif("<CALL:5>ZZ1AB<BAND:3>20m<MODE:2>CW<EOR>").qsos,
              std::vector{qso("ZZ1AB", k20m, ModeGroup::CW)});
    // Free text before the first field is no record, even with a '<' in it.
    const ReadResult result = readAdif("My log <by hand>\n<CALL:5>ZZ1AB<MODE:2>CW<EOR>");
    EXPECT_EQ(result.qsos, std::vector{qso("ZZ1AB", -1, ModeGroup::CW)});
    EXPECT_EQ(result.damaged, 0);
}

TEST(AdifReader, FinishingKeepsTheCountAndStartsANewFile) {
    AdifReader reader;
    std::vector<AdifQso> qsos;
    reader.feed("<CALL:5>ZZ1AB<EOR><CALL:2>Z", qsos);
    reader.finish(qsos);
    reader.feed("Header <EOH><CALL:5>ZZ2AB<EOR>", qsos);
    EXPECT_EQ(qsos, (std::vector{qso("ZZ1AB", -1, ModeGroup::Unknown), qso("ZZ2AB", -1, ModeGroup::Unknown)}));
    EXPECT_EQ(reader.damagedRecords(), 1);
    reader.reset();
    EXPECT_EQ(reader.damagedRecords(), 0);
}

struct DamageCase {
    const char* name;
    std::string_view bad;  // one damaged record, written between two good ones
};

class AdifDamage : public testing::TestWithParam<DamageCase> {};

// The damaged record is counted and skipped; the records on either side are read whole, whether
// the text comes at once or a byte at a time.
TEST_P(AdifDamage, SkipsOneRecordAndKeepsTheRest) {
    const std::string text = "<CALL:5>ZZ1AB<BAND:3>20m<MODE:2>CW<EOR>\n" + std::string(GetParam().bad) +
                             "\n<CALL:5>ZZ2CD<BAND:3>40m<MODE:3>SSB<EOR>\n";
    const std::vector<AdifQso> good{qso("ZZ1AB", k20m, ModeGroup::CW), qso("ZZ2CD", k40m, ModeGroup::Phone)};
    for (const std::size_t piece : {std::size_t{0}, std::size_t{1}}) {
        const ReadResult result = readAdif(text, piece);
        EXPECT_EQ(result.qsos, good) << "in pieces of " << piece;
        EXPECT_EQ(result.damaged, 1) << "in pieces of " << piece;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, AdifDamage,
    testing::Values(
        DamageCase{"LengthNotANumber", "<CALL:x5>ZZ9XX<BAND:3>20m<EOR>"},
        DamageCase{"TagWithoutLength", "<CALL>ZZ9XX<BAND:3>20m<EOR>"},
        DamageCase{"TagCutByAnotherTag", "<CALL:5 ZZ9XX<BAND:3>20m<EOR>"},
        DamageCase{"GarbageNameInTag", "<CA LL:5>ZZ9XX<BAND:3>20m<EOR>"},
        DamageCase{"AbsurdLength", "<NOTES:99999999999>x<CALL:5>ZZ9XX<EOR>"},
        DamageCase{"LengthRunsIntoNextTag", "<CALL:5>ZZ9XX<BAND:8>20m<MODE:2>CW<EOR>"},
        DamageCase{"LengthRunsPastEndOfRecord", "<CALL:5>ZZ9XX<COMMENT:90>tnx<eor>"},
        DamageCase{"FieldTwice", "<CALL:5>ZZ9XX<CALL:5>ZZ8XX<EOR>"},
        DamageCase{"NoCall", "<BAND:3>20m<MODE:2>CW<EOR>"},
        DamageCase{"CallNotACall", "<CALL:7>ZZ9 XX!<EOR>"},
        DamageCase{"OverlongTag", "<CALL:5aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa>ZZ9XX<EOR>"},
        DamageCase{"BinaryGarbage", std::string_view("<CALL:5>\0\x01<\xff>\x80<EOR>", 19)}),
    [](const testing::TestParamInfo<DamageCase>& row) { return std::string(row.param.name); });

TEST(AdifReader, RecordCutOffAtTheEndIsCountedNotKept) {
    for (const std::string_view end : {"<CALL:5>ZZ9", "<CALL:5>ZZ9XX<BAND:3", "<CALL:5>ZZ9XX<BAND:3>2"}) {
        const ReadResult result = readAdif("<CALL:5>ZZ1AB<EOR>" + std::string(end));
        EXPECT_EQ(result.qsos.size(), 1u) << end;
        EXPECT_EQ(result.damaged, 1) << end;
    }
}

struct BandCase {
    std::string_view band;
    std::string_view freq;
    int expected;
};

TEST(AdifValues, BandFromBandElseFrequency) {
    for (const BandCase& row : {BandCase{"20m", "", k20m}, BandCase{" 70CM ", "", k70cm},
                                BandCase{"", "14.074", k20m}, BandCase{"", "7,150", k40m},
                                BandCase{"2190m", "0.1375", -1}, BandCase{"junk", "21.074", k15m},
                                BandCase{"", "14.0.74", -1}, BandCase{"", "", -1}})
        EXPECT_EQ(bandFromAdif(row.band, row.freq), row.expected) << row.band << " / " << row.freq;
}

struct ModeCase {
    std::string_view mode;
    std::string_view submode;
    ModeGroup expected;
};

TEST(AdifValues, ModeGroupsAsTheFilterBarHasThem) {
    for (const ModeCase& row : {ModeCase{"CW", "", ModeGroup::CW}, ModeCase{"cw", "PCW", ModeGroup::CW},
                                ModeCase{"SSB", "USB", ModeGroup::Phone}, ModeCase{"AM", "", ModeGroup::Phone},
                                ModeCase{"FM", "", ModeGroup::Phone},
                                ModeCase{"DIGITALVOICE", "DSTAR", ModeGroup::Phone},
                                ModeCase{"SSTV", "", ModeGroup::Phone}, ModeCase{"FT8", "", ModeGroup::Digital},
                                ModeCase{"MFSK", "FT4", ModeGroup::Digital}, ModeCase{"RTTY", "", ModeGroup::Digital},
                                ModeCase{"OLIVIA", "", ModeGroup::Digital}, ModeCase{"", "FT4", ModeGroup::Digital},
                                ModeCase{"", "", ModeGroup::Unknown}})
        EXPECT_EQ(modeGroupFromAdif(row.mode, row.submode), row.expected) << row.mode << " / " << row.submode;
}

}  // namespace
