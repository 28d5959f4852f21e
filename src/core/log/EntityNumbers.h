#pragma once

#include "dxcc/CountryFile.h"
#include "dxcc/CountryLookup.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quendra {

// The entity numbers of the `cty.csv` country file (the numbers ADIF's DXCC field carries),
// and the calls they belong to.
//
// The file is read by turning each line into the `cty.dat` layout and handing it to that
// file's reader, so prefixes, `=CALL` items and their overrides follow exactly the rules the
// program's country lookup follows, and calls are resolved by that same lookup. A QSO's call and
// a spot's station resolved through this one table meet on the same number by construction.
//
// A spot already resolved with the program's `cty.dat` finds its number through the entity's
// primary prefix instead. That is exact while both files come from one release (hamradio-files
// installs them side by side): each entity has one line in each, under the same primary prefix,
// with the same prefixes. A newer `cty.dat` with an entity the CSV file lacks gives 0 for it, never
// another entity's number.
class EntityNumbers {
public:
    EntityNumbers() = default;  // knows no entity
    // `numbers[i]` is the number of `file.entities[i]`.
    EntityNumbers(CountryFile file, std::vector<std::uint16_t> numbers);

    // 0 when the call belongs to no known entity. Same call forms as CountryLookup::find.
    int numberOf(std::string_view call) const;
    int numberOf(std::u16string_view call) const;

    // By primary prefix, as CountryEntity::primaryPrefix holds it ("DL", "3D2/c"); 0 if unknown.
    int numberOfPrefix(std::string_view primaryPrefix) const;

    // The numbers of another country file's entities, in its order, for spots resolved with it.
    std::vector<std::uint16_t> numbersFor(const std::vector<CountryEntity>& entities) const;

    std::size_t entityCount() const { return numbers_.size(); }

private:
    int numberOfMatch(const CountryMatch& match) const;

    CountryLookup lookup_;
    std::vector<std::uint16_t> numbers_;  // by entity index of lookup_
    std::unordered_map<std::string, std::uint16_t> byPrefix_;
};

struct EntityNumbersResult {
    std::optional<EntityNumbers> numbers;
    CountryFileError error;  // meaningful when there are no numbers; lines are the CSV file's

    bool ok() const { return numbers.has_value(); }
};

// Reads the text of a `cty.csv` file. The first fault gives an error and no table.
EntityNumbersResult parseEntityNumbers(std::string_view csvText);

}  // namespace quendra
