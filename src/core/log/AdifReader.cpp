#include "log/AdifReader.h"

#include "dxcc/CountryFile.h"
#include "log/AdifValues.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace quendra {

namespace {

// In the order of AdifReader::Field.
constexpr std::array<std::string_view, 9> kFieldNames{
    "CALL", "BAND", "FREQ", "MODE", "SUBMODE", "DXCC", "QSL_RCVD", "LOTW_QSL_RCVD", "EQSL_QSL_RCVD"};

constexpr std::string_view kEndOfRecord = "<EOR>";

char upperCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool isFieldName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

// A length of digits only, up to kMaxAdifFieldBytes.
std::optional<std::size_t> fieldLength(std::string_view text) {
    text = trimmedAdif(text);
    std::size_t length = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), length);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size() ||
        length > kMaxAdifFieldBytes)
        return std::nullopt;
    return length;
}

std::optional<std::string> checkedCall(std::string_view text) {
    text = trimmedAdif(text);
    if (text.empty() || text.size() > kMaxCallLength)
        return std::nullopt;
    std::string call(text);
    for (char& c : call) {
        c = upperCase(c);
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/'))
            return std::nullopt;
    }
    return call;
}

}  // namespace

std::string_view AdifReader::Record::value(Field field) const {
    const auto index = static_cast<std::size_t>(field);
    // A value too long to keep is no value any of these fields can have.
    if ((present & (1u << index)) == 0 || values[index].tooLong)
        return {};
    return values[index].view();
}

void AdifReader::feed(std::string_view bytes, std::vector<AdifQso>& out) {
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    // Every step consumes at least one byte or changes the state towards one that does.
    while (at < end) {
        switch (state_) {
        case State::Text:
            at = readText(at, end);
            break;
        case State::Tag:
            at = readTag(at, end, out);
            break;
        case State::Data:
            at = readData(at, end, out);
            break;
        }
    }
}

void AdifReader::finish(std::vector<AdifQso>& out) {
    if (state_ == State::Tag && !beforeFirstField_)
        markDamaged();
    if (state_ == State::Data)
        markDamaged();
    if (record_.hasFields || record_.damaged)
        endRecord(out);
    const int damaged = damaged_;
    reset();
    damaged_ = damaged;
}

const char* AdifReader::readText(const char* from, const char* end) {
    const auto* open = static_cast<const char*>(std::memchr(from, '<', static_cast<std::size_t>(end - from)));
    if (open == nullptr)
        return end;
    state_ = State::Tag;
    tagLength_ = 0;
    tagTooLong_ = false;
    return open + 1;
}

const char* AdifReader::readTag(const char* from, const char* end, std::vector<AdifQso>& out) {
    for (const char* at = from; at < end; ++at) {
        const char c = *at;
        if (c == '>') {
            takeTag(out);
            return at + 1;
        }
        if (c == '<') {
            // A '<' inside a tag: the tag was garbage, and this one may be the next good one.
            if (!beforeFirstField_)
                markDamaged();
            tagLength_ = 0;
            tagTooLong_ = false;
            continue;
        }
        if (tagLength_ < tag_.size())
            tag_[tagLength_++] = upperCase(c);
        else
            tagTooLong_ = true;
    }
    return end;
}

void AdifReader::takeTag(std::vector<AdifQso>& out) {
    state_ = State::Text;
    const std::string_view tag(tag_.data(), tagLength_);
    const std::size_t firstColon = tag.find(':');
    const std::string_view name = trimmedAdif(tag.substr(0, firstColon));
    if (!tagTooLong_ && (name == "EOR" || name == "EOH")) {
        if (name == "EOR") {
            endRecord(out);
        } else {
            // Whatever came before the header's end was the header.
            record_.clear();
            beforeFirstField_ = false;
        }
        return;
    }
    std::optional<std::size_t> length;
    if (!tagTooLong_ && firstColon != std::string_view::npos && isFieldName(name)) {
        const std::string_view rest = tag.substr(firstColon + 1);
        length = fieldLength(rest.substr(0, rest.find(':')));
    }
    if (!length) {
        // Text before a headerless file's first field is free text, '<' and all.
        if (!beforeFirstField_)
            markDamaged();
        return;
    }
    beforeFirstField_ = false;
    startField(name, *length);
}

void AdifReader::startField(std::string_view name, std::size_t length) {
    const auto known = std::find(kFieldNames.begin(), kFieldNames.end(), name);
    field_ = static_cast<Field>(known - kFieldNames.begin());
    if (field_ != Field::None) {
        const auto bit = static_cast<std::uint16_t>(1u << static_cast<unsigned>(field_));
        // A field met twice is most often a record whose <EOR> a wrong length swallowed.
        if ((record_.present & bit) != 0) {
            markDamaged();
            field_ = Field::None;
        } else {
            record_.values[static_cast<std::size_t>(field_)] = Value{};
        }
    }
    record_.hasFields = true;
    dataLeft_ = length;
    endMatched_ = 0;
    state_ = State::Data;
    if (length == 0)
        endField();
}

const char* AdifReader::readData(const char* from, const char* end, std::vector<AdifQso>& out) {
    const std::size_t available = std::min(dataLeft_, static_cast<std::size_t>(end - from));
    const char* const stop = from + available;
    if (field_ != Field::None) {
        // No value of a kept field holds '<': its length was wrong, and the '<' begins the next tag.
        if (const auto* open = static_cast<const char*>(std::memchr(from, '<', available))) {
            markDamaged();
            field_ = Field::None;
            state_ = State::Text;
            return open;
        }
        Value& value = record_.values[static_cast<std::size_t>(field_)];
        const std::size_t room = kMaxValueBytes - value.length;
        const std::size_t kept = std::min(room, available);
        std::memcpy(value.bytes.data() + value.length, from, kept);
        value.length = static_cast<std::uint8_t>(value.length + kept);
        value.tooLong = value.tooLong || kept < available;
    } else if (const char* afterEnd = findEndOfRecord(from, stop)) {
        // Free text may hold '<', but not the record's end: the length ran past it.
        markDamaged();
        endRecord(out);
        field_ = Field::None;
        state_ = State::Text;
        return afterEnd;
    }
    dataLeft_ -= available;
    if (dataLeft_ == 0)
        endField();
    return stop;
}

// Where "<EOR>" (any case) ends within [from, end), carrying a partial match over from the
// previous piece; null when it does not end there.
const char* AdifReader::findEndOfRecord(const char* from, const char* end) {
    const char* at = from;
    while (at < end) {
        if (endMatched_ == 0) {
            at = static_cast<const char*>(std::memchr(at, '<', static_cast<std::size_t>(end - at)));
            if (at == nullptr)
                return nullptr;
            endMatched_ = 1;
            ++at;
            continue;
        }
        if (upperCase(*at) != kEndOfRecord[endMatched_]) {
            endMatched_ = 0;  // look at this byte again: it may be a '<'
            continue;
        }
        ++at;
        if (++endMatched_ == kEndOfRecord.size()) {
            endMatched_ = 0;
            return at;
        }
    }
    return nullptr;
}

void AdifReader::endField() {
    if (field_ != Field::None)
        record_.present = static_cast<std::uint16_t>(record_.present | (1u << static_cast<unsigned>(field_)));
    field_ = Field::None;
    state_ = State::Text;
}

void AdifReader::markDamaged() { record_.damaged = true; }

void AdifReader::endRecord(std::vector<AdifQso>& out) {
    beforeFirstField_ = false;
    if (record_.damaged) {
        ++damaged_;
    } else if (record_.hasFields) {
        if (auto qso = decode(record_))
            out.push_back(std::move(*qso));
        else
            ++damaged_;
    }
    record_.clear();
}

std::optional<AdifQso> AdifReader::decode(const Record& record) {
    auto call = checkedCall(record.value(Field::Call));
    if (!call)
        return std::nullopt;
    AdifQso qso;
    qso.call = std::move(*call);
    qso.band = bandFromAdif(record.value(Field::Band), record.value(Field::Freq));
    qso.modeGroup = modeGroupFromAdif(record.value(Field::Mode), record.value(Field::Submode));
    qso.dxcc = entityNumberFromAdif(record.value(Field::Dxcc));
    qso.confirmed = isQslConfirmation(record.value(Field::QslRcvd)) ||
                    isQslConfirmation(record.value(Field::LotwQslRcvd));
    qso.eqslConfirmed = isEqslConfirmation(record.value(Field::EqslQslRcvd));
    return qso;
}

}  // namespace quendra
