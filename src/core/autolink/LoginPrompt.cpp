#include "autolink/LoginPrompt.h"

#include <array>

namespace quendra {
namespace {

constexpr std::size_t kTailLength = 64;

// Asked for at the end of a line: "Last login: Mon Dec 7" in a greeting is no prompt.
constexpr std::array<std::u16string_view, 4> kEndings{u"login:", u"call:", u"callsign:", u"call sign:"};
// Asked for in so many words, whatever follows.
constexpr std::u16string_view kRequest = u"please enter your call";

char16_t asciiLower(char16_t ch) { return ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch + 32) : ch; }

}  // namespace

bool LoginPrompt::lineIsPrompt() const {
    std::u16string_view line = tail_;
    while (!line.empty() && (line.back() == u' ' || line.back() == u'\t'))
        line.remove_suffix(1);
    for (std::u16string_view ending : kEndings) {
        if (line.ends_with(ending))
            return true;
    }
    return false;
}

bool LoginPrompt::feed(std::u16string_view received) {
    if (answered_)
        return false;
    for (char16_t ch : received) {
        if (ch == u'\r' || ch == u'\n') {
            if (lineIsPrompt()) {
                answered_ = true;
                tail_.clear();
                return true;
            }
            tail_.clear();
            continue;
        }
        if (ch < u' ')
            continue;  // BEL and other controls carry nothing of the prompt
        if (tail_.size() == kTailLength)
            tail_.erase(0, kTailLength / 2);
        tail_ += asciiLower(ch);
        // Checked as it arrives: a long request line would push its start out of the tail.
        if (tail_.ends_with(kRequest)) {
            answered_ = true;
            tail_.clear();
            return true;
        }
    }
    // The first prompt waits for the answer without a line end.
    if (lineIsPrompt()) {
        answered_ = true;
        tail_.clear();
        return true;
    }
    return false;
}

void LoginPrompt::reset() {
    tail_.clear();
    answered_ = false;
}

}  // namespace quendra
