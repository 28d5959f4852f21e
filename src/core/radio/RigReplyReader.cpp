#include "radio/RigReplyReader.h"

#include "radio/RadioFrequency.h"

#include <optional>

namespace quendra {
namespace {

// Digits with an optional leading '-' when allowed; bounded well inside the type.
std::optional<std::int64_t> readInteger(std::string_view text, bool allowMinus) {
    bool negative = false;
    if (allowMinus && !text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 15)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::optional<int> readStatusCode(std::string_view line) {
    constexpr std::string_view kPrefix = "RPRT ";
    if (!line.starts_with(kPrefix))
        return std::nullopt;
    line.remove_prefix(kPrefix.size());
    if (line.size() > 6)
        return std::nullopt;
    const std::optional<std::int64_t> code = readInteger(line, true);
    if (!code)
        return std::nullopt;
    return static_cast<int>(*code);
}

// Some Hamlib versions write the frequency with decimals ("14025000.000000"); they are below 1 Hz.
std::optional<std::int64_t> readHertz(std::string_view line) {
    const std::size_t point = line.find('.');
    if (point != std::string_view::npos) {
        const std::string_view decimals = line.substr(point + 1);
        if (decimals.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        line = line.substr(0, point);
    }
    const std::optional<std::int64_t> hertz = readInteger(line, false);
    if (!hertz || *hertz > kMaxRadioHertz)
        return std::nullopt;
    return hertz;
}

bool isModeToken(std::string_view line) {
    if (line.empty() || line.size() > 16)
        return false;
    for (const char c : line)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    // A bare number is a frequency or passband, never a mode.
    return line.find_first_not_of("0123456789") != std::string_view::npos;
}

}  // namespace

bool RigReplyReader::expect(RigReplyKind kind) {
    if (expected_.size() >= kMaxExpected)
        return false;
    expected_.push_back(kind);
    return true;
}

std::vector<RigReply> RigReplyReader::feed(std::string_view bytes) {
    std::vector<RigReply> replies;
    for (const char c : bytes) {
        if (c == '\n') {
            if (overlong_)
                ++skippedLines_;
            else
                takeLine(line_, replies);
            line_.clear();
            overlong_ = false;
        } else if (line_.size() < kMaxLineLength) {
            line_ += c;
        } else {
            overlong_ = true;
        }
    }
    return replies;
}

void RigReplyReader::reset() {
    expected_.clear();
    line_.clear();
    overlong_ = false;
    haveMode_ = false;
    mode_.clear();
}

void RigReplyReader::takeLine(std::string_view line, std::vector<RigReply>& replies) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.empty())
        return;
    if (expected_.empty()) {
        ++skippedLines_;
        return;
    }
    const RigReplyKind kind = expected_.front();
    auto finish = [&](RigReply reply) {
        reply.kind = kind;
        replies.push_back(std::move(reply));
        expected_.pop_front();
        haveMode_ = false;
        mode_.clear();
    };

    // An error ends any answer, a value one included, even between the two lines of a mode.
    // A value answer never comes as "RPRT 0", so that line cannot be one.
    if (const std::optional<int> code = readStatusCode(line); code && (*code != 0 || kind == RigReplyKind::Status)) {
        RigReply reply;
        reply.code = *code;
        finish(std::move(reply));
        return;
    }
    switch (kind) {
    case RigReplyKind::Status:
        break;
    case RigReplyKind::Frequency:
        if (const std::optional<std::int64_t> hertz = readHertz(line)) {
            RigReply reply;
            reply.hertz = *hertz;
            finish(std::move(reply));
            return;
        }
        break;
    case RigReplyKind::Mode:
        if (!haveMode_) {
            if (isModeToken(line)) {
                haveMode_ = true;
                mode_ = line;
                return;
            }
        } else if (const std::optional<std::int64_t> passband = readInteger(line, true)) {
            RigReply reply;
            reply.mode = mode_;
            reply.passband = *passband;
            finish(std::move(reply));
            return;
        }
        break;
    }
    ++skippedLines_;
}

}  // namespace quendra
