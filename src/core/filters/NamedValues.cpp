#include "filters/NamedValues.h"

#include "modes/BandPlan.h"

namespace quendra {
namespace {

char16_t asciiUpper(char16_t ch) { return ch >= u'a' && ch <= u'z' ? static_cast<char16_t>(ch - 32) : ch; }

constexpr Mode kLastMode = Mode::Data;

}  // namespace

std::u16string_view trimBlanks(std::u16string_view text) {
    const auto blank = [](char16_t ch) { return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool equalsIgnoringCase(std::u16string_view text, std::string_view ascii) {
    if (text.size() != ascii.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (asciiUpper(text[i]) != asciiUpper(static_cast<unsigned char>(ascii[i])))
            return false;
    }
    return true;
}

std::u16string widened(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

std::optional<int> bandIndexFromName(std::u16string_view name) {
    name = trimBlanks(name);
    const auto bands = amateurBands();
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (equalsIgnoringCase(name, bands[i].name))
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<ModeGroup> modeGroupFromName(std::u16string_view name) {
    name = trimBlanks(name);
    for (ModeGroup group : {ModeGroup::CW, ModeGroup::Phone, ModeGroup::Digital}) {
        if (equalsIgnoringCase(name, modeGroupName(group)))
            return group;
    }
    return std::nullopt;
}

std::optional<Mode> modeFromName(std::u16string_view name) {
    name = trimBlanks(name);
    for (int i = 1; i <= static_cast<int>(kLastMode); ++i) {
        const auto mode = static_cast<Mode>(i);
        if (equalsIgnoringCase(name, modeName(mode)))
            return mode;
    }
    return std::nullopt;
}

std::optional<Continent> continentFromName(std::u16string_view name) {
    name = trimBlanks(name);
    if (name.size() != 2)
        return std::nullopt;
    const char code[2] = {static_cast<char>(asciiUpper(name[0]) & 0x7f), static_cast<char>(asciiUpper(name[1]) & 0x7f)};
    if (name[0] > 0x7f || name[1] > 0x7f)
        return std::nullopt;
    return continentFromCode(std::string_view(code, 2));
}

void forEachListItem(std::u16string_view list, const std::function<void(std::u16string_view)>& item) {
    while (!list.empty()) {
        const std::size_t comma = list.find(u',');
        const std::u16string_view piece = trimBlanks(list.substr(0, comma));
        if (!piece.empty())
            item(piece);
        if (comma == std::u16string_view::npos)
            break;
        list.remove_prefix(comma + 1);
    }
}

}  // namespace quendra
