#include "dxcc/CountryFile.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace quendra {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Damaged input can put anything in a message; keep quoted text short and printable.
std::string quoted(std::string_view text) {
    constexpr std::size_t kShown = 40;
    std::string out = "'";
    for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        out += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
    }
    if (text.size() > kShown)
        out += "...";
    return out + "'";
}

std::optional<int> wholeNumber(std::string_view text, int low, int high) {
    text = trimmed(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < low ||
        value > high)
        return std::nullopt;
    return value;
}

std::optional<double> decimalNumber(std::string_view text, double low, double high) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value,
                                              std::chars_format::fixed);
    // The comparison is false for NaN, so it is refused with the out-of-range values.
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() ||
        !(value >= low && value <= high))
        return std::nullopt;
    return value;
}

// The file counts longitude and time offset westward; we keep both the usual way round.
double turned(double westward) { return westward == 0.0 ? 0.0 : -westward; }

struct Fault {
    std::string message;
};

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    CountryFileResult run() {
        if (text_.size() > kMaxCountryFileBytes)
            return failure(0, "the file is larger than " + std::to_string(kMaxCountryFileBytes) +
                                  " bytes; this is not a country file");
        std::size_t start = 0;
        while (start < text_.size()) {
            const std::size_t end = std::min(text_.find('\n', start), text_.size());
            ++lineNumber_;
            if (auto fault = readLine(text_.substr(start, end - start)))
                return failure(lineNumber_, std::move(fault->message));
            start = end + 1;
        }
        if (inItems_)
            return failure(entityLine_, "the prefix list of " + quoted(file_.entities.back().name) +
                                            " has no ';' at its end");
        if (file_.entities.empty())
            return failure(std::max(lineNumber_, 1), "the file holds no entities");
        return CountryFileResult{std::move(file_), {}};
    }

private:
    static CountryFileResult failure(int line, std::string message) {
        return CountryFileResult{std::nullopt, CountryFileError{line, std::move(message)}};
    }

    std::optional<Fault> readLine(std::string_view line) {
        if (trimmed(line).empty())
            return std::nullopt;
        if (!inItems_)
            return readEntity(trimmed(line));
        if (line.find(':') != std::string_view::npos)
            return Fault{"a new entity begins before the prefix list of " +
                         quoted(file_.entities.back().name) + " ended with ';'"};
        return readItems(line);
    }

    std::optional<Fault> readEntity(std::string_view line) {
        if (file_.entities.size() >= kMaxCountryEntities)
            return Fault{"more than " + std::to_string(kMaxCountryEntities) + " entities"};
        std::array<std::string_view, 8> fields;
        std::size_t count = 0;
        std::size_t start = 0;
        while (count < fields.size()) {
            const std::size_t colon = line.find(':', start);
            if (colon == std::string_view::npos)
                break;
            fields[count++] = trimmed(line.substr(start, colon - start));
            start = colon + 1;
        }
        if (count < fields.size())
            return Fault{"an entity line needs 8 fields each ended by ':', found " +
                         std::to_string(count) + " in " + quoted(line)};
        if (!trimmed(line.substr(start)).empty())
            return Fault{"unexpected text after the 8th field: " + quoted(line.substr(start))};

        CountryEntity entity;
        if (fields[0].empty() || fields[0].size() > kMaxCountryNameLength)
            return Fault{"the entity name is empty or longer than " +
                         std::to_string(kMaxCountryNameLength) + " characters"};
        entity.name = fields[0];
        const auto cq = wholeNumber(fields[1], 1, 40);
        if (!cq)
            return Fault{"CQ zone " + quoted(fields[1]) + " is not a number from 1 to 40"};
        const auto itu = wholeNumber(fields[2], 1, 90);
        if (!itu)
            return Fault{"ITU zone " + quoted(fields[2]) + " is not a number from 1 to 90"};
        const auto continent = continentFromCode(fields[3]);
        if (!continent)
            return Fault{"continent " + quoted(fields[3]) + " is none of AF AN AS EU NA OC SA"};
        const auto latitude = decimalNumber(fields[4], -90, 90);
        if (!latitude)
            return Fault{"latitude " + quoted(fields[4]) + " is not a number from -90 to 90"};
        const auto longitude = decimalNumber(fields[5], -180, 180);
        if (!longitude)
            return Fault{"longitude " + quoted(fields[5]) + " is not a number from -180 to 180"};
        const auto offset = decimalNumber(fields[6], -24, 24);
        if (!offset)
            return Fault{"time offset " + quoted(fields[6]) + " is not a number of hours from -24 to 24"};
        std::string_view prefix = fields[7];
        entity.contestOnly = !prefix.empty() && prefix.front() == '*';
        if (entity.contestOnly)
            prefix.remove_prefix(1);
        if (prefix.empty() || prefix.size() > kMaxCountryPrefixLength)
            return Fault{"the primary prefix is empty or longer than " +
                         std::to_string(kMaxCountryPrefixLength) + " characters"};
        entity.primaryPrefix = prefix;
        entity.cqZone = *cq;
        entity.ituZone = *itu;
        entity.continent = *continent;
        entity.position = LatLon{*latitude, turned(*longitude)};
        entity.utcOffsetHours = turned(*offset);
        file_.entities.push_back(std::move(entity));
        inItems_ = true;
        entityLine_ = lineNumber_;
        return std::nullopt;
    }

    // Items are separated by ',' and the list ends with ';'. A line end also ends an item, so
    // a list broken over lines without its ',' still reads item by item.
    std::optional<Fault> readItems(std::string_view line) {
        std::size_t start = 0;
        while (start <= line.size()) {
            const std::size_t end = std::min(line.find_first_of(",;", start), line.size());
            const std::string_view item = trimmed(line.substr(start, end - start));
            if (!item.empty()) {
                if (auto fault = readItem(item))
                    return fault;
            }
            if (end < line.size() && line[end] == ';') {
                inItems_ = false;
                if (!trimmed(line.substr(end + 1)).empty())
                    return Fault{"unexpected text after ';': " + quoted(line.substr(end + 1))};
                return std::nullopt;
            }
            start = end + 1;
        }
        return std::nullopt;
    }

    std::optional<Fault> readItem(std::string_view text) {
        if (file_.items.size() >= kMaxCountryItems)
            return Fault{"more than " + std::to_string(kMaxCountryItems) + " prefixes and calls"};
        CountryItem item;
        item.entity = static_cast<std::uint32_t>(file_.entities.size() - 1);
        std::string_view rest = text;
        item.exactCall = rest.front() == '=';
        if (item.exactCall)
            rest.remove_prefix(1);
        const std::size_t bodyEnd = std::min(rest.find_first_of("([<{~"), rest.size());
        const std::string_view body = rest.substr(0, bodyEnd);
        const std::size_t longest = item.exactCall ? kMaxCallLength : kMaxCountryPrefixLength;
        if (body.empty() || body.size() > longest)
            return Fault{"item " + quoted(text) + " has no call or one longer than " +
                         std::to_string(longest) + " characters"};
        for (const char c : body) {
            if (c >= 'a' && c <= 'z')
                item.text += static_cast<char>(c - 'a' + 'A');
            else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/')
                item.text += c;
            else
                return Fault{"item " + quoted(text) + " holds " + quoted({&c, 1}) +
                             ", which no call contains"};
        }
        rest.remove_prefix(bodyEnd);
        while (!rest.empty()) {
            if (auto fault = readOverride(rest, text, item.overrides))
                return fault;
        }
        file_.items.push_back(std::move(item));
        return std::nullopt;
    }

    // Reads one bracketed override from the front of `rest` and removes it.
    static std::optional<Fault> readOverride(std::string_view& rest, std::string_view item,
                                             CountryOverrides& overrides) {
        const char open = rest.front();
        static constexpr std::string_view kOpening = "([<{~";
        static constexpr std::string_view kClosing = ")]>}~";
        const std::size_t kind = kOpening.find(open);
        const char close = kind == std::string_view::npos ? '\0' : kClosing[kind];
        if (close == '\0')
            return Fault{"item " + quoted(item) + " has " + quoted(rest) + " where an override " +
                         "such as (14) [28] <51.0/-10.0> {EU} ~-1.0~ belongs"};
        const std::size_t end = rest.find(close, 1);
        if (end == std::string_view::npos)
            return Fault{"item " + quoted(item) + " opens '" + std::string(1, open) +
                         "' without its closing '" + std::string(1, close) + "'"};
        const std::string_view value = rest.substr(1, end - 1);
        rest.remove_prefix(end + 1);
        switch (open) {
        case '(':
            overrides.cqZone = wholeNumber(value, 1, 40);
            if (!overrides.cqZone)
                return Fault{"item " + quoted(item) + ": CQ zone " + quoted(value) + " is not from 1 to 40"};
            break;
        case '[':
            overrides.ituZone = wholeNumber(value, 1, 90);
            if (!overrides.ituZone)
                return Fault{"item " + quoted(item) + ": ITU zone " + quoted(value) + " is not from 1 to 90"};
            break;
        case '{':
            overrides.continent = continentFromCode(value);
            if (!overrides.continent)
                return Fault{"item " + quoted(item) + ": continent " + quoted(value) + " is unknown"};
            break;
        case '~':
            overrides.utcOffsetHours = decimalNumber(value, -24, 24);
            if (!overrides.utcOffsetHours)
                return Fault{"item " + quoted(item) + ": time offset " + quoted(value) +
                             " is not from -24 to 24"};
            overrides.utcOffsetHours = turned(*overrides.utcOffsetHours);
            break;
        default: {
            const std::size_t slash = value.find('/');
            const auto latitude = decimalNumber(value.substr(0, slash), -90, 90);
            const auto longitude = slash == std::string_view::npos
                                       ? std::nullopt
                                       : decimalNumber(value.substr(slash + 1), -180, 180);
            if (!latitude || !longitude)
                return Fault{"item " + quoted(item) + ": position " + quoted(value) +
                             " is not latitude/longitude in degrees"};
            overrides.position = LatLon{*latitude, turned(*longitude)};
        }
        }
        return std::nullopt;
    }

    std::string_view text_;
    CountryFile file_;
    bool inItems_ = false;
    int lineNumber_ = 0;
    int entityLine_ = 0;
};

}  // namespace

std::string CountryFileError::describe() const {
    // Line 0 stands for the file as a whole.
    return line > 0 ? "line " + std::to_string(line) + ": " + message : message;
}

CountryFileResult parseCountryFile(std::string_view text) { return Parser(text).run(); }

}  // namespace quendra
