#pragma once

// WSJT-X datagrams written out field by field as WSJT-X sends them, for the tests that read them.

#include <string>
#include <string_view>

namespace quendra::testing::wsjtx_datagrams {

// Hex digits to bytes; spaces and '|' only part the fields for the reader.
inline std::string hex(std::string_view digits) {
    std::string bytes;
    int high = -1;
    for (char ch : digits) {
        int value = -1;
        if (ch >= '0' && ch <= '9')
            value = ch - '0';
        else if (ch >= 'a' && ch <= 'f')
            value = ch - 'a' + 10;
        if (value < 0)
            continue;
        if (high < 0) {
            high = value;
        } else {
            bytes.push_back(static_cast<char>(high * 16 + value));
            high = -1;
        }
    }
    return bytes;
}

// Every datagram below is written out field by field as WSJT-X sends it.
inline const std::string kHeartbeat = hex(
    "adbccbda 00000003 00000000 | 00000006 57534a542d58"  // magic, schema 3, type 0, id "WSJT-X"
    "| 00000003 | 00000005 322e372e30 | 00000007 61626364656667");  // max schema 3, "2.7.0", "abcdefg"

inline const std::string kStatusHead = hex(
    "adbccbda 00000002 00000001 | 00000006 57534a542d58"
    "| 0000000000d6c090"                            // dial 14,074,000 Hz
    "| 00000003 465438 | 00000000 | 00000000"       // mode "FT8", DX call "", report ""
    "| 00000003 465438 | 00 | 00");                 // TX mode "FT8", TX enabled, transmitting
inline const std::string kStatusTail = hex(
    "01 | 000005dc | 000005f0"                      // decoding, RX df 1500, TX df 1520
    "| 00000005 5a5a314142 | 00000004 4a4e3538"     // DE call "ZZ1AB", DE grid "JN58"
    "| ffffffff | 00 | ffffffff | 00 | 00"         // DX grid null, watchdog, sub-mode null, fast, special
    "| 00000000 | 0000000f"                         // tolerance, T/R period 15
    "| 00000007 44656661756c74 | 00000000");        // configuration "Default", TX message ""

inline const std::string kDecodeRequired = hex(
    "adbccbda 00000002 00000002 | 00000006 57534a542d58"
    "| 01 | 02b28958 | fffffff4"                    // new, 12:34:15.000, snr -12
    "| 3fc999999999999a | 000005f0"                 // delta time 0.2 s, audio offset 1520 Hz
    "| 00000001 7e"                                 // mode "~"
    "| 0000000d 4351205a5a324344204a4e3438");       // "CQ ZZ2CD JN48"
inline const std::string kDecodeFlags = hex("00 | 00");   // low confidence, off air

// 2026-12-09 is Julian day 2461384.
inline const std::string kQsoLoggedRequired = hex(
    "adbccbda 00000003 00000005 | 00000006 57534a542d58"
    "| 0000000000258ec8 02b7cd00 01"                // off 2026-12-09 12:40:00 UTC
    "| 00000005 5a5a324344 | 00000004 4a4e3438"     // DX call "ZZ2CD", DX grid "JN48"
    "| 0000000000d6c680"                            // TX 14,075,520 Hz
    "| 00000003 465438 | 00000003 2d3132 | 00000003 2d3039"  // "FT8", sent "-12", received "-09"
    "| 00000002 3530 | ffffffff | 00000003 416e6e");          // power "50", comments null, name "Ann"
inline const std::string kQsoLoggedLater = hex(
    "0000000000258ec8 02ed5bf0 02 00000e10"         // on 2026-12-09 13:38:30 at UTC+1 = 12:38:30 UTC
    "| 00000000 | 00000005 5a5a314142 | 00000004 4a4e3538"    // operator "", my call "ZZ1AB", "JN58"
    "| 00000000 | 00000000 | 00000000");             // exchanges, propagation mode

// The Reply to kDecodeRequired's decode, schema 2, no modifiers.
inline const std::string kReplyToDecode =
    hex("adbccbda 00000002 00000004 | 00000006 57534a542d58"  // magic, schema, Reply, id
        "| 02b28958 | fffffff4 | 3fc999999999999a | 000005f0"  // time, snr, delta time, offset
        "| 00000001 7e | 0000000d 4351205a5a324344204a4e3438"  // mode, message
        "| 00 | 00");                                         // low confidence, modifiers

}  // namespace quendra::testing::wsjtx_datagrams
