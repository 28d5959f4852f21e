#include "log/EntityNumbers.h"

#include "log/AdifValues.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace quendra {

namespace {

// Primary prefix, name, entity number, continent, CQ zone, ITU zone, latitude, longitude (+ west),
// time offset, then the prefixes separated by blanks up to ';'.
constexpr std::size_t kCsvFields = 10;

struct CsvEntity {
    std::array<std::string_view, kCsvFields> fields;
};

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The last field keeps any further commas: the cty.dat reader takes them as separators too.
std::optional<CsvEntity> splitLine(std::string_view line) {
    CsvEntity entity;
    for (std::size_t i = 0; i + 1 < kCsvFields; ++i) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos)
            return std::nullopt;
        entity.fields[i] = trimmed(line.substr(0, comma));
        line.remove_prefix(comma + 1);
    }
    entity.fields[kCsvFields - 1] = trimmed(line);
    return entity;
}

std::optional<std::uint16_t> entityNumber(std::string_view text) {
    int number = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size() ||
        number < 1 || number > kMaxEntityNumber)
        return std::nullopt;
    return static_cast<std::uint16_t>(number);
}

// The entity in cty.dat's layout: its eight fields each ended by ':' on one line, its items on
// the next, separated by ',' instead of blanks.
void appendAsCountryFile(const CsvEntity& entity, std::string& out) {
    const auto& f = entity.fields;
    // A name is free text; a ':' in it would end the field early.
    std::string name(f[1]);
    std::replace(name.begin(), name.end(), ':', ' ');
    for (const std::string_view field : {std::string_view(name), f[4], f[5], f[3], f[6], f[7], f[8], f[0]}) {
        out += field;
        out += ": ";
    }
    out += "\n    ";
    std::string_view items = f[9];
    bool blank = false;
    for (const char c : items) {
        const bool isBlank = c == ' ' || c == '\t';
        if (isBlank && !blank)
            out += ',';
        else if (!isBlank)
            out += c;
        blank = isBlank;
    }
    out += '\n';
}

EntityNumbersResult failure(int line, std::string message) {
    return EntityNumbersResult{std::nullopt, CountryFileError{line, std::move(message)}};
}

}  // namespace

EntityNumbers::EntityNumbers(CountryFile file, std::vector<std::uint16_t> numbers) : numbers_(std::move(numbers)) {
    numbers_.resize(file.entities.size(), 0);
    // Contest-only entities repeat areas of a DXCC entity and carry its number; a call resolves
    // straight to the DXCC entity.
    lookup_ = CountryLookup(std::move(file), CountryLookup::ContestOnly::Ignore);
}

int EntityNumbers::numberOfMatch(const CountryMatch& match) const {
    if (!match.known() || static_cast<std::size_t>(match.entityIndex) >= numbers_.size())
        return 0;
    return numbers_[static_cast<std::size_t>(match.entityIndex)];
}

int EntityNumbers::numberOf(std::string_view call) const { return numberOfMatch(lookup_.find(call)); }

int EntityNumbers::numberOf(std::u16string_view call) const { return numberOfMatch(lookup_.find(call)); }

EntityNumbersResult parseEntityNumbers(std::string_view csvText) {
    if (csvText.size() > kMaxCountryFileBytes)
        return failure(0, "the file is larger than " + std::to_string(kMaxCountryFileBytes) +
                              " bytes; this is not a country file");
    std::string datText;
    datText.reserve(csvText.size() + csvText.size() / 4);
    std::vector<std::uint16_t> numbers;
    std::vector<int> csvLineOfEntity;
    int lineNumber = 0;
    for (std::size_t start = 0; start < csvText.size();) {
        const std::size_t end = std::min(csvText.find('\n', start), csvText.size());
        const std::string_view line = trimmed(csvText.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty())
            continue;
        const auto entity = splitLine(line);
        if (!entity)
            return failure(lineNumber, "a line needs 10 fields separated by ','");
        const auto number = entityNumber(entity->fields[2]);
        if (!number)
            return failure(lineNumber, "the entity number '" + std::string(entity->fields[2].substr(0, 12)) +
                                           "' is not a number from 1 to " + std::to_string(kMaxEntityNumber));
        if (numbers.size() >= kMaxCountryEntities)
            return failure(lineNumber, "more than " + std::to_string(kMaxCountryEntities) + " entities");
        numbers.push_back(*number);
        csvLineOfEntity.push_back(lineNumber);
        appendAsCountryFile(*entity, datText);
    }
    CountryFileResult parsed = parseCountryFile(datText);
    if (!parsed.ok()) {
        // Each entity took two lines of the translated text.
        const auto entity = static_cast<std::size_t>(std::max(parsed.error.line - 1, 0) / 2);
        const int line = parsed.error.line == 0 || entity >= csvLineOfEntity.size() ? 0 : csvLineOfEntity[entity];
        return failure(line, std::move(parsed.error.message));
    }
    return EntityNumbersResult{EntityNumbers(std::move(*parsed.file), std::move(numbers)), {}};
}

}  // namespace quendra
