#pragma once

#include "dxcc/CountryLookup.h"

#include <QString>

namespace quendra {

class Settings;

// The country file the program uses, and what became of reading it.
struct LoadedCountries {
    CountryLookup lookup;  // knows no country when nothing could be read
    QString path;          // the file read, or empty
    QString problem;       // one line for the operator when no countries are known, else empty
};

// Reads the country file named in the settings; without one, cty.dat in the user's data folder
// (~/.local/share/Tamblix/Quendra), else the one the system installed. A missing or damaged
// file gives no countries and says why, never a failure of the program.
LoadedCountries loadCountries(Settings& settings);

}  // namespace quendra
