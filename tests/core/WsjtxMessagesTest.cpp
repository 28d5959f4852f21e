#include "wsjtx/DecodeSpot.h"
#include "wsjtx/QsoRecord.h"
#include "wsjtx/WsjtxMessages.h"

#include "support/WsjtxDatagrams.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace quendra;
using namespace quendra::wsjtx;
using namespace quendra::testing::wsjtx_datagrams;

namespace {

TEST(WsjtxMessages, ReadsEachTypeFieldByField) {
    const auto heartbeat = readMessage(kHeartbeat);
    ASSERT_TRUE(heartbeat);
    EXPECT_EQ(heartbeat->schema, 3u);
    EXPECT_EQ(heartbeat->id, "WSJT-X");
    EXPECT_EQ(std::get<Heartbeat>(heartbeat->body), (Heartbeat{3, "2.7.0", "abcdefg"}));

    const auto status = readMessage(kStatusHead + kStatusTail);
    ASSERT_TRUE(status);
    const Status& s = std::get<Status>(status->body);
    EXPECT_EQ(s.dialHz, 14'074'000u);
    EXPECT_EQ(s.mode, "FT8");
    EXPECT_TRUE(s.decoding);
    EXPECT_EQ(s.txDf, 1520u);
    EXPECT_EQ(s.deCall, "ZZ1AB");
    EXPECT_EQ(s.dxGrid, "");
    EXPECT_EQ(s.trPeriod, 15u);
    EXPECT_EQ(s.configuration, "Default");

    const auto decode = readMessage(kDecodeRequired + hex("01 | 00"));
    ASSERT_TRUE(decode);
    EXPECT_EQ(std::get<Decode>(decode->body),
              (Decode{true, 45'255'000, -12, 0.2, 1520, "~", "CQ ZZ2CD JN48", true, false}));

    const auto clear = readMessage(hex("adbccbda 00000003 00000003 00000006 57534a542d58 02"));
    ASSERT_TRUE(clear);
    EXPECT_EQ(std::get<Clear>(clear->body).window, 2);

    const auto qso = readMessage(kQsoLoggedRequired + kQsoLoggedLater);
    ASSERT_TRUE(qso);
    const QsoLogged& q = std::get<QsoLogged>(qso->body);
    EXPECT_EQ(q.off, (DateTime{2'461'384, 45'600'000}));
    EXPECT_EQ(q.on, (DateTime{2'461'384, 45'510'000}));
    EXPECT_EQ(q.txHz, 14'075'520u);
    EXPECT_EQ(q.reportReceived, "-09");
    EXPECT_EQ(q.comments, "");
    EXPECT_EQ(q.myCall, "ZZ1AB");

    const auto adif = readMessage(hex("adbccbda 00000003 0000000c 00000006 57534a542d58 0000000a 3c63616c6c3a323e5a5a"));
    ASSERT_TRUE(adif);
    EXPECT_EQ(std::get<LoggedAdif>(adif->body).adif, "<call:2>ZZ");

    const auto close = readMessage(hex("adbccbda 00000003 00000006 00000006 57534a542d58"));
    ASSERT_TRUE(close);
    EXPECT_EQ(std::get<OtherMessage>(close->body).type, 6u);
}

TEST(WsjtxMessages, OlderVersionsSendFewerFieldsAndNewerOnesMore) {
    const auto shortStatus = readMessage(kStatusHead);
    ASSERT_TRUE(shortStatus);
    EXPECT_EQ(std::get<Status>(shortStatus->body).dialHz, 14'074'000u);
    const auto shortDecode = readMessage(kDecodeRequired);
    ASSERT_TRUE(shortDecode);
    EXPECT_FALSE(std::get<Decode>(shortDecode->body).lowConfidence);
    const auto shortQso = readMessage(kQsoLoggedRequired);
    ASSERT_TRUE(shortQso);
    EXPECT_EQ(std::get<QsoLogged>(shortQso->body).on, DateTime{});
    EXPECT_TRUE(readMessage(kDecodeRequired + kDecodeFlags + hex("00000004 6e657721")));
}

TEST(WsjtxMessages, RefusesCutAndForeignDatagrams) {
    // Cut inside the header or any field a version always sends.
    const std::string heartbeatRequired = kHeartbeat.substr(0, 26);
    for (const std::string* whole : {&heartbeatRequired, &kStatusHead, &kDecodeRequired, &kQsoLoggedRequired}) {
        ASSERT_TRUE(readMessage(*whole));
        for (std::size_t length = 0; length < whole->size(); ++length)
            EXPECT_FALSE(readMessage(std::string_view(*whole).substr(0, length))) << length << " of " << whole->size();
    }
    // Cut inside a later field.
    const std::string decode = kDecodeRequired + kDecodeFlags;
    EXPECT_TRUE(readMessage(decode.substr(0, decode.size() - 1)));  // the off-air flag left out entirely
    const std::string qso = kQsoLoggedRequired + kQsoLoggedLater;
    for (std::size_t cut : {1u, 8u, 12u, 14u, 16u})
        EXPECT_FALSE(readMessage(qso.substr(0, kQsoLoggedRequired.size() + cut))) << cut;

    std::string wrongMagic = kHeartbeat;
    wrongMagic[0] = '\x00';
    EXPECT_FALSE(readMessage(wrongMagic));
    for (const char* schema : {"00000001", "00000004", "ffffffff"}) {
        std::string other = kHeartbeat;
        other.replace(4, 4, hex(schema));
        EXPECT_FALSE(readMessage(other)) << schema;
    }
    // A text longer than what is left, a time past midnight, a date with a named time zone.
    EXPECT_FALSE(readMessage(hex("adbccbda 00000002 00000002 fffffff0 57")));
    std::string lateDecode = kDecodeRequired;
    lateDecode.replace(23, 4, hex("05265c00"));  // 86,400,000 ms
    EXPECT_FALSE(readMessage(lateDecode));
    std::string zoned = kQsoLoggedRequired;
    zoned[34] = 3;
    EXPECT_FALSE(readMessage(zoned));
    EXPECT_FALSE(readMessage("GET / HTTP/1.1\r\n\r\n"));
    EXPECT_FALSE(readMessage(std::string(3000, '\xff')));
}

TEST(WsjtxMessages, ReplyRepeatsTheDecodeAsWsjtxExpectsIt) {
    const Decode decode{true, 45'255'000, -12, 0.2, 1520, "~", "CQ ZZ2CD JN48", false, false};
    EXPECT_EQ(encodeReply(2, "WSJT-X", decode, 0), kReplyToDecode);
    EXPECT_EQ(encodeReply(3, "WSJT-X - rig2", Decode{false, 0, 5, -1.5, 300, "+", "QRZ ZZ2CD", true, false}, 0x02),
              hex("adbccbda 00000003 00000004 | 0000000d 57534a542d58202d2072696732"
                  "| 00000000 | 00000005 | bff8000000000000 | 0000012c"
                  "| 00000001 2b | 00000009 51525a205a5a324344"
                  "| 01 | 02"));
}

struct CallingCase {
    const char* message;
    const char16_t* station;  // null: no spot
};

TEST(WsjtxDecodes, FindTheCallingStation) {
    const CallingCase cases[] = {
        {"CQ ZZ2CD JN48", u"ZZ2CD"},  {"CQ DX ZZ2CD JN48", u"ZZ2CD"}, {"CQ NA ZZ2CD EM10", u"ZZ2CD"},
        {"CQ POTA ZZ2CD", u"ZZ2CD"},  {"CQ 290 ZZ2CD FN42", u"ZZ2CD"}, {"QRZ ZZ2CD", u"ZZ2CD"},
        {"CQ ZZ2CD", u"ZZ2CD"},       {"CQ ZZ2CD/P JN48", u"ZZ2CD/P"}, {"CQ <ZZ2CD/QRP>", u"ZZ2CD/QRP"},
        {"CQ <...> JN48", nullptr},   {"ZZ1AB ZZ2CD -12", nullptr},   {"ZZ1AB ZZ2CD RR73", nullptr},
        {"CQ", nullptr},              {"CQ DX", nullptr},             {"CQQ ZZ2CD JN48", nullptr},
        {"TNX 73 GL", nullptr},       {"CQ TEST", nullptr},           {"", nullptr},
    };
    for (const CallingCase& c : cases) {
        const auto station = callingStation(c.message);
        if (c.station)
            EXPECT_EQ(station, std::u16string(c.station)) << c.message;
        else
            EXPECT_FALSE(station) << c.message;
    }
}

TEST(WsjtxDecodes, MakeASpotOnTheDialPlusTheAudioOffset) {
    Status status;
    status.dialHz = 14'074'000;
    status.mode = "FT8";
    Decode decode{true, 45'255'000, -12, 0.2, 1520, "~", "CQ DX ZZ2CD JN48", false, false};
    EXPECT_EQ(spotFromDecode(status, decode, u"ZZ1AB"),
              (ParsedSpot{u"ZZ2CD", u"ZZ1AB", u"14075.5", u"FT8 -12 dB", u"12:34"}));
    decode.snr = 3;
    decode.deltaFrequency = 2960;  // 14,076,960 Hz rounds up to 14,077.0 kHz
    EXPECT_EQ(spotFromDecode(status, decode, u"ZZ1AB")->frequency, u"14077.0");
    EXPECT_EQ(spotFromDecode(status, decode, u"ZZ1AB")->info, u"FT8 3 dB");
    status.mode.clear();
    decode.mode = "+";
    EXPECT_EQ(spotFromDecode(status, decode, u"ZZ1AB")->info, u"FT4 3 dB");
    EXPECT_EQ(kHzText(50'313'000 + 450), u"50313.5");
    EXPECT_EQ(kHzText(1'840'049), u"1840.0");

    decode.offAir = true;
    EXPECT_FALSE(spotFromDecode(status, decode, u"ZZ1AB"));
    decode.offAir = false;
    EXPECT_FALSE(spotFromDecode(Status{}, decode, u"ZZ1AB"));  // no dial frequency heard yet
    decode.message = "ZZ1AB ZZ2CD R-07";
    EXPECT_FALSE(spotFromDecode(status, decode, u"ZZ1AB"));
}

TEST(WsjtxQsos, BecomeAdifRecords) {
    const auto message = readMessage(kQsoLoggedRequired + kQsoLoggedLater);
    ASSERT_TRUE(message);
    EXPECT_EQ(adifRecord(std::get<QsoLogged>(message->body)),
              "<call:5>ZZ2CD<gridsquare:4>JN48<mode:3>FT8<band:3>20m<freq:9>14.075520"
              "<qso_date:8>20261209<time_on:6>123830<qso_date_off:8>20261209<time_off:6>124000"
              "<rst_sent:3>-12<rst_rcvd:3>-09<tx_pwr:2>50<name:3>Ann<station_callsign:5>ZZ1AB"
              "<my_gridsquare:4>JN58<eor>");
    QsoLogged ft4;
    ft4.dxCall = "ZZ2CD";
    ft4.mode = "FT4";
    ft4.off = {2'451'545, 0};  // 2000-01-01 00:00:00
    EXPECT_EQ(adifRecord(ft4), "<call:5>ZZ2CD<mode:4>MFSK<submode:3>FT4<qso_date:8>20000101<time_on:6>000000"
                               "<qso_date_off:8>20000101<time_off:6>000000<eor>");

    // A day number from a peer may be anything; what no four-digit year holds is left out.
    ft4.off = {3'026'418'949'593'041'881, 0};
    EXPECT_EQ(adifRecord(ft4), "<call:5>ZZ2CD<mode:4>MFSK<submode:3>FT4<time_on:6>000000<time_off:6>000000<eor>");
    EXPECT_EQ(adifDate(5'373'484), "99991231");
    EXPECT_EQ(adifDate(1'721'426), "00010101");

    EXPECT_EQ(firstAdifRecord("\n<adif_ver:5>3.1.0\n<programid:6>WSJT-X\n<EOH>\n"
                              "<call:5>ZZ2CD <comment:9>a <b> <eor <mode:3>FT8 <EOR>\n"),
              "<call:5>ZZ2CD <comment:9>a <b> <eor <mode:3>FT8 <EOR>");
    EXPECT_EQ(firstAdifRecord("<call:5>ZZ2CD<eor>"), "<call:5>ZZ2CD<eor>");
    EXPECT_FALSE(firstAdifRecord("<adif_ver:5>3.1.0<eoh><call:5>ZZ2CD"));
    EXPECT_FALSE(firstAdifRecord("<eoh><call:50>ZZ2CD<eor>"));
    EXPECT_FALSE(firstAdifRecord("<call:x>ZZ2CD<eor>"));
    EXPECT_FALSE(firstAdifRecord("<eor>"));

    // Both messages WSJT-X sends for one QSO name it alike.
    EXPECT_EQ(qsoKey(adifRecord(std::get<QsoLogged>(message->body))), "ZZ2CD 20261209 1238");
    EXPECT_EQ(qsoKey("<CALL:5>zz2cd<QSO_DATE:8>20261209<TIME_ON:4>1238<EOR>"), "ZZ2CD 20261209 1238");
    EXPECT_EQ(qsoKey("<qso_date:8>20261209<eor>"), "");
}

}  // namespace
