// The library's one-time set-up.
#pragma once

#include <cstdint>

namespace raster {

// Sets up the globals the library reads (the highest-set-bit table, the
// raster-state pool) once, whichever thread calls first; every entry that
// needs them calls it, so callers need not. 1.
int RIPLibraryInit();

// The highest-set-bit table of the bilevel scanners: entry i is the index of
// the highest set bit of byte i (7 for 128..255), -1 for 0. 1 when it stands.
int RIPInitBitTables();
const std::int32_t* RIPHighestBitTable();

}  // namespace raster
