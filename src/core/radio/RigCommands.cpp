#include "radio/RigCommands.h"

namespace quendra {

std::string setFrequencyCommand(std::int64_t hertz) {
    return "F " + std::to_string(hertz) + "\n";
}

std::optional<std::string> setModeCommand(std::string_view modeToken) {
    if (modeToken.empty() || modeToken.size() > kMaxModeTokenLength)
        return std::nullopt;
    std::string command = "M ";
    for (const char c : modeToken) {
        if (c >= 'a' && c <= 'z')
            command += static_cast<char>(c - 'a' + 'A');
        else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')
            command += c;
        else
            return std::nullopt;
    }
    command += " 0\n";
    return command;
}

}  // namespace quendra
