// The library's one-time set-up. The raster-state pool's lock is a mutex
// initialised before any code runs, and the kernels detect the processor's
// vector features when the program starts (their word reads 0, the plain
// path, until then), so what remains to build once is the bit table.
#include "raster/library_init.h"

#include <mutex>

namespace raster {
namespace {

std::once_flag g_once;
std::int32_t g_highestBit[256];

void BuildOnce() {
    g_highestBit[0] = -1;
    for (int i = 1; i < 256; ++i) {
        int h = 7;
        while ((i >> h) == 0) {
            --h;
        }
        g_highestBit[i] = h;
    }
}

}  // namespace

int RIPLibraryInit() {
    std::call_once(g_once, BuildOnce);
    return 1;
}

int RIPInitBitTables() {
    return RIPLibraryInit();
}

const std::int32_t* RIPHighestBitTable() {
    RIPLibraryInit();
    return g_highestBit;
}

}  // namespace raster
