#include "modes/SpotMode.h"

#include "modes/BandPlan.h"

#include <array>

namespace quendra {

namespace {

struct ModeWord {
    std::string_view word;  // upper case
    Mode mode;
};

constexpr std::array<ModeWord, 18> kModeWords{{
    {"CW", Mode::CW},       {"SSB", Mode::SSB},     {"USB", Mode::USB},     {"LSB", Mode::LSB},
    {"AM", Mode::AM},       {"FM", Mode::FM},       {"RTTY", Mode::RTTY},   {"PSK", Mode::PSK},
    {"PSK31", Mode::PSK},   {"PSK63", Mode::PSK},   {"BPSK31", Mode::PSK},  {"BPSK63", Mode::PSK},
    {"FT8", Mode::FT8},     {"FT4", Mode::FT4},     {"JT65", Mode::JT65},   {"JT9", Mode::JT9},
    {"JT65A", Mode::JT65},  {"JT9A", Mode::JT9},
}};

// No mode word is longer; a longer word is no mode and need not be compared.
constexpr std::size_t kLongestModeWord = 6;

bool isWordChar(char32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

template <typename Char>
Mode modeOfText(std::basic_string_view<Char> comment) {
    Mode weak = Mode::Unknown;
    std::size_t i = 0;
    while (i < comment.size()) {
        if (!isWordChar(static_cast<char32_t>(comment[i]))) {
            ++i;
            continue;
        }
        std::array<char, kLongestModeWord> word{};
        std::size_t length = 0;
        for (; i < comment.size() && isWordChar(static_cast<char32_t>(comment[i])); ++i, ++length) {
            if (length < word.size()) {
                const auto c = static_cast<char>(comment[i]);
                word[length] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            }
        }
        if (length > word.size())
            continue;
        const std::string_view text(word.data(), length);
        for (const ModeWord& entry : kModeWords) {
            if (entry.word != text)
                continue;
            if (entry.mode != Mode::AM && entry.mode != Mode::FM)
                return entry.mode;
            if (weak == Mode::Unknown)
                weak = entry.mode;
        }
    }
    return weak;
}

}  // namespace

Mode modeFromComment(std::string_view comment) { return modeOfText(comment); }

Mode modeFromComment(std::u16string_view comment) { return modeOfText(comment); }

Mode spotMode(std::u16string_view comment, double kHz) {
    const Mode named = modeFromComment(comment);
    return named != Mode::Unknown ? named : modeFromBandPlan(kHz);
}

}  // namespace quendra
