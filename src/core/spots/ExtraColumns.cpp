#include "spots/ExtraColumns.h"

#include "text/Numbers.h"

#include <algorithm>
#include <array>

namespace quendra {
namespace {

constexpr std::array<std::u16string_view, kExtraColumnCount> kTitles = {
    u"Country", u"Continent", u"CQ zone", u"Mode", u"Age", u"Spotter country", u"Spotter continent",
};

std::u16string_view trimmed(std::u16string_view text) {
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return text;
}

template <typename Visit>
void forEachItem(std::u16string_view text, Visit visit) {
    while (!text.empty()) {
        const auto comma = text.find(u',');
        visit(trimmed(text.substr(0, comma)));
        if (comma == std::u16string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
}

}  // namespace

std::u16string_view extraColumnTitle(ExtraColumn column) { return kTitles[static_cast<std::size_t>(column)]; }

std::vector<ExtraColumn> parseExtraColumns(std::u16string_view text) {
    std::vector<ExtraColumn> columns;
    forEachItem(text, [&](std::u16string_view item) {
        const auto found = std::find(kTitles.begin(), kTitles.end(), item);
        if (found == kTitles.end())
            return;
        const auto column = static_cast<ExtraColumn>(found - kTitles.begin());
        if (std::find(columns.begin(), columns.end(), column) == columns.end())
            columns.push_back(column);
    });
    return columns;
}

std::u16string extraColumnsText(const std::vector<ExtraColumn>& columns) {
    std::u16string text;
    for (ExtraColumn column : columns) {
        if (!text.empty())
            text += u',';
        text += extraColumnTitle(column);
    }
    return text;
}

std::vector<std::u16string> parseColumnTitles(std::u16string_view text) {
    std::vector<std::u16string> titles;
    forEachItem(text, [&](std::u16string_view item) {
        if (!item.empty() && std::find(titles.begin(), titles.end(), item) == titles.end())
            titles.emplace_back(item);
    });
    return titles;
}

std::u16string columnTitlesText(const std::vector<std::u16string>& titles) {
    std::u16string text;
    for (const std::u16string& title : titles) {
        if (!text.empty())
            text += u',';
        text += title;
    }
    return text;
}

std::vector<int> parseWidthList(std::u16string_view text) {
    std::vector<int> widths;
    forEachItem(text, [&](std::u16string_view item) {
        const bool whole = !item.empty() && item.size() <= 5 &&
                           std::all_of(item.begin(), item.end(), [](char16_t c) { return isDecimalDigit(c); });
        widths.push_back(whole ? readLeadingInt(item) : -1);
    });
    return widths;
}

std::u16string widthListText(const std::vector<int>& widths) {
    std::u16string text;
    for (int width : widths) {
        if (!text.empty())
            text += u',';
        const std::string digits = std::to_string(width);
        text.append(digits.begin(), digits.end());
    }
    return text;
}

}  // namespace quendra
