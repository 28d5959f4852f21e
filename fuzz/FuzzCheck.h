#pragma once

// What every fuzz target shares: a check that stops the run with the broken condition, and the
// two ways received text reaches our code.

#include "text/CodePage.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (false)

namespace fuzzing {

// Link text arrives as Windows-1252 bytes; code that takes UTF-16 must also cope with any unit,
// lone surrogates and NULs included, so both are drawn.
inline std::u16string consumeText(FuzzedDataProvider& input, std::size_t maxBytes = 512) {
    const bool rawUnits = input.ConsumeBool();
    const std::string bytes = input.ConsumeRandomLengthString(maxBytes);
    if (!rawUnits)
        return quendra::decodeWindows1252(bytes);
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              static_cast<unsigned char>(bytes[i + 1]) << 8));
    return units;
}

}  // namespace fuzzing
