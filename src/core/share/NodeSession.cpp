#include "share/NodeSession.h"

#include "share/NodeLines.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace quendra {
namespace {

constexpr unsigned char kIac = 255;
constexpr unsigned char kSb = 250;
constexpr unsigned char kSe = 240;
constexpr unsigned char kWill = 251;
constexpr unsigned char kDont = 254;
// A sub-negotiation longer than this is no terminal's: garbage.
constexpr std::size_t kMaxSubNegotiation = 64;
constexpr std::size_t kMaxCallLength = 20;

std::string lowerTrimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    std::string out(text);
    for (char& ch : out)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

// The first word as a call sign, upper case; empty when it is none.
std::string callOf(std::string_view line) {
    std::string word = lowerTrimmed(line);
    word = word.substr(0, word.find(' '));
    if (word.empty() || word.size() > kMaxCallLength)
        return {};
    for (char& ch : word) {
        const bool allowed = std::isalnum(static_cast<unsigned char>(ch)) || ch == '/' || ch == '-' || ch == '#';
        if (!allowed || static_cast<unsigned char>(ch) >= 0x80)
            return {};
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    }
    return word;
}

// "sh/dx", "show/dx", optionally with a count: how many lines are asked for, or -1.
int listingAsked(const std::string& command) {
    for (std::string_view name : {std::string_view("sh/dx"), std::string_view("show/dx")}) {
        if (command.compare(0, name.size(), name) != 0)
            continue;
        std::string_view rest = std::string_view(command).substr(name.size());
        if (!rest.empty() && rest.front() != ' ')
            continue;
        while (!rest.empty() && rest.front() == ' ')
            rest.remove_prefix(1);
        int count = 0;
        std::size_t digits = 0;
        while (digits < rest.size() && digits < 4 && std::isdigit(static_cast<unsigned char>(rest[digits])))
            count = count * 10 + (rest[digits++] - '0');
        if (digits == 0)
            return NodeSession::kDefaultListing;
        return std::clamp(count, 1, NodeSession::kMaxListing);
    }
    return -1;
}

bool isGoodbye(const std::string& command) {
    return command == "bye" || command == "b" || command == "quit" || command == "q" || command == "exit";
}

}  // namespace

NodeSession::Answer NodeSession::receive(std::string_view bytes, const SystemTime& now, const Listing& listing) {
    Answer answer;
    for (const char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        switch (telnet_) {
        case Telnet::Command:
            telnet_ = byte == kSb ? Telnet::Sub : (byte >= kWill && byte <= kDont) ? Telnet::Option : Telnet::Data;
            subLength_ = 0;
            continue;
        case Telnet::Option:
            telnet_ = Telnet::Data;
            continue;
        case Telnet::Sub:
        case Telnet::SubCommand:
            if (++subLength_ > kMaxSubNegotiation) {
                answer.close = true;
                answer.why = "garbage";
                return answer;
            }
            telnet_ = telnet_ == Telnet::SubCommand && byte == kSe ? Telnet::Data
                      : byte == kIac                              ? Telnet::SubCommand
                                                                  : Telnet::Sub;
            continue;
        case Telnet::Data:
            break;
        }
        if (byte == kIac) {
            telnet_ = Telnet::Command;
            continue;
        }
        const bool secondHalfOfCrLf = (ch == '\n' || ch == '\0') && lastWasCr_;
        lastWasCr_ = ch == '\r';
        if (secondHalfOfCrLf)
            continue;
        if (ch == '\r' || ch == '\n') {
            if (!spendLine(now)) {
                answer.close = true;
                answer.why = "flooding";
                return answer;
            }
            takeLine(now, listing, answer);
            if (answer.close)
                return answer;
            continue;
        }
        if (ch == '\b' || byte == 0x7f) {
            if (!line_.empty())
                line_.pop_back();
            continue;
        }
        if ((byte < 0x20 && ch != '\t') || byte == 0) {
            if (++stray_ > kMaxStrayBytes) {
                answer.close = true;
                answer.why = "garbage";
                return answer;
            }
            continue;
        }
        if (line_.size() >= kMaxLineLength) {
            answer.close = true;
            answer.why = "garbage";
            return answer;
        }
        line_ += ch;
    }
    return answer;
}

bool NodeSession::spendLine(const SystemTime& now) {
    const std::int64_t seconds = secondsSince1970(now);
    if (lastRefill_ >= 0 && seconds > lastRefill_)
        lineTokens_ = std::min<double>(kLineBurst, lineTokens_ + static_cast<double>(seconds - lastRefill_) * kLinesPerSecond);
    lastRefill_ = seconds;
    if (lineTokens_ < 1)
        return false;
    lineTokens_ -= 1;
    return true;
}

void NodeSession::takeLine(const SystemTime& now, const Listing& listing, Answer& answer) {
    const std::string line = std::exchange(line_, {});
    if (call_.empty()) {
        call_ = callOf(line);
        if (call_.empty()) {
            answer.reply += greeting();
            return;
        }
        answer.reply += "Hello " + call_ + ", this is the Quendra local node\r\n" + promptLine(call_, now);
        return;
    }
    const std::string command = lowerTrimmed(line);
    if (isGoodbye(command)) {
        answer.reply += "73 de QUENDRA, bye " + call_ + "\r\n";
        answer.close = true;
        return;
    }
    if (const int count = listingAsked(command); count > 0 && listing)
        answer.reply += listing(count);
    answer.reply += promptLine(call_, now);
}

}  // namespace quendra
