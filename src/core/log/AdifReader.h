#pragma once

#include "modes/Mode.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// One QSO as the log file gives it, reduced to what worked status needs.
struct AdifQso {
    std::string call;  // upper case, checked to hold only letters, digits and '/'
    int band = -1;     // amateurBands() index from BAND, else FREQ; -1 outside our bands
    ModeGroup modeGroup = ModeGroup::Unknown;
    std::optional<int> dxcc;     // the record's own entity number, when it carries one
    bool confirmed = false;      // QSL_RCVD or LOTW_QSL_RCVD is Y or V
    bool eqslConfirmed = false;  // EQSL_QSL_RCVD is Y

    bool operator==(const AdifQso&) const = default;
};

// Fields longer than this are not what any logger writes; their tag is read as damage.
inline constexpr std::size_t kMaxAdifFieldBytes = 1u << 20;

// Reads ADIF (`.adi`) text fed in pieces of any size, as a followed file hands over what was
// appended: a piece may end inside a tag or inside a field's data. Lengths count bytes, so UTF-8
// data needs no decoding. Fields before `<EOH>` are the header's and are dropped; a file without
// one starts with records, and free text before its first field is ignored.
//
// A damaged record (a tag that is not `<NAME:LENGTH[:TYPE]>`, an absurd length, a length that
// runs into the next tag or past the record's `<EOR>`, a field given twice, no valid CALL, a cut
// end) is skipped and counted, and reading goes on at the next `<`, so one bad record never
// costs the rest of the file. Memory stays bounded whatever the text: only the few fields status
// uses are kept, each up to a short length.
class AdifReader {
public:
    // Appends every record completed by `bytes` to `out`.
    void feed(std::string_view bytes, std::vector<AdifQso>& out);

    // The file has ended: a last record without `<EOR>` is appended, one cut off inside a tag or
    // a field's data is counted as damaged. The reader then expects a new file.
    void finish(std::vector<AdifQso>& out);

    // Records skipped as damaged since the reader was made or reset.
    int damagedRecords() const { return damaged_; }

    // Forgets everything, the count included, to read a file again from its start.
    void reset() { *this = AdifReader(); }

private:
    enum class State : std::uint8_t { Text, Tag, Data };
    // The fields kept, in the order of kFieldNames in the source.
    enum class Field : std::uint8_t { Call, Band, Freq, Mode, Submode, Dxcc, QslRcvd, LotwQslRcvd, EqslQslRcvd, None };
    static constexpr std::size_t kKeptFields = static_cast<std::size_t>(Field::None);
    static constexpr std::size_t kMaxTagBytes = 80;
    static constexpr std::size_t kMaxValueBytes = 32;

    struct Value {
        std::array<char, kMaxValueBytes> bytes{};
        std::uint8_t length = 0;
        bool tooLong = false;
        std::string_view view() const { return {bytes.data(), length}; }
    };

    // The record being read.
    struct Record {
        std::array<Value, kKeptFields> values{};
        std::uint16_t present = 0;  // one bit per Field
        bool hasFields = false;
        bool damaged = false;
        std::string_view value(Field field) const;
        // Values need no clearing: a field's value is cleared when the field begins.
        void clear() { present = 0; hasFields = false; damaged = false; }
    };

    const char* readText(const char* from, const char* end);
    const char* readTag(const char* from, const char* end, std::vector<AdifQso>& out);
    const char* readData(const char* from, const char* end, std::vector<AdifQso>& out);
    const char* findEndOfRecord(const char* from, const char* end);
    void takeTag(std::vector<AdifQso>& out);
    void startField(std::string_view name, std::size_t length);
    void endField();
    void endRecord(std::vector<AdifQso>& out);
    void markDamaged();
    static std::optional<AdifQso> decode(const Record& record);

    State state_ = State::Text;
    std::array<char, kMaxTagBytes> tag_{};
    std::size_t tagLength_ = 0;
    bool tagTooLong_ = false;
    Field field_ = Field::None;
    std::size_t dataLeft_ = 0;
    std::size_t endMatched_ = 0;  // bytes of "<EOR>" matched at the end of the data read so far
    bool beforeFirstField_ = true;
    Record record_;
    int damaged_ = 0;
};

}  // namespace quendra
