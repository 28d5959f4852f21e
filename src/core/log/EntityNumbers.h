#pragma once

#include "dxcc/CountryFile.h"
#include "dxcc/CountryLookup.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

// The entity numbers of the `cty.csv` country file (the numbers ADIF's DXCC field carries),
// and the calls they belong to.
//
// The file is read by turning each line into the `cty.dat` layout and handing it to that
// file's reader, so prefixes, `=CALL` items and their overrides follow exactly the rules the
// program's country lookup follows, and calls are resolved by that same lookup class.
//
// Both a QSO's call and a spot's station are to be resolved through this one table: they then
// meet on the same number by construction. Mapping the entities of the program's `cty.dat` to
// numbers by primary prefix looks equivalent but is not: the two files hamradio-files installs
// list different exact calls (`=KH7Z` is United States in one and Hawaii by prefix in the other;
// 9 of the 27,445 items of the installed `cty.dat` resolve to another number through `cty.csv`).
class EntityNumbers {
public:
    EntityNumbers() = default;  // knows no entity
    // `numbers[i]` is the number of `file.entities[i]`.
    EntityNumbers(CountryFile file, std::vector<std::uint16_t> numbers);

    // 0 when the call belongs to no known entity. Same call forms as CountryLookup::find.
    int numberOf(std::string_view call) const;
    int numberOf(std::u16string_view call) const;

    std::size_t entityCount() const { return numbers_.size(); }

private:
    int numberOfMatch(const CountryMatch& match) const;

    CountryLookup lookup_;
    std::vector<std::uint16_t> numbers_;  // by entity index of lookup_
};

struct EntityNumbersResult {
    std::optional<EntityNumbers> numbers;
    CountryFileError error;  // meaningful when there are no numbers; lines are the CSV file's

    bool ok() const { return numbers.has_value(); }
};

// Reads the text of a `cty.csv` file. The first fault gives an error and no table.
EntityNumbersResult parseEntityNumbers(std::string_view csvText);

}  // namespace quendra
