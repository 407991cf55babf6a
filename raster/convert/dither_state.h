// The dither state a colour reduction is made with: the method (1 nearest,
// 2 error diffusion, 3 table, 4 and 5 clustered screens, 6 Bayer matrix)
// and what the method needs, a constant threshold-matrix descriptor or
// tables built from the destination palette; and the error rows of the
// error-diffusion reductions.
#pragma once

#include <cstdint>

namespace raster {
struct RIPPalette;
}

namespace raster::convert {

// A threshold matrix: size × size values (row-major) of `levels` levels.
struct RIPDitherMatrix {
    std::int32_t size;
    std::int32_t levels;
    const std::uint8_t* matrix;
    std::int32_t shift;
};
static_assert(sizeof(void*) != 4 || sizeof(RIPDitherMatrix) == 16, "four 32-bit fields on the 32-bit build");

// One heap block: the method, a pointer to the method's data, the data.
struct RIPDitherState {
    std::int32_t method;
    void* data;
};

// Target kinds.
inline constexpr int kDitherBilevel = 0;
inline constexpr int kDitherPaletted = 1;

// Null for a method outside 1..6, a target or palette the method does not
// take (methods 4 and 5 only dither to bilevel; method 3 to a palette needs
// one), or no memory.
RIPDitherState* RIPCreateDitherState(int method, const RIPPalette* palette, int target);
// 1, or 0 for null.
int RIPDestroyDitherState(RIPDitherState* state);

// The descriptor of method 4 (8 × 8, 16 levels), 5 (16 × 16, 64 levels) or
// 6 (the 8 × 8 Bayer matrix, 63 levels); method 3 shares 6's. Null otherwise.
const RIPDitherMatrix* RIPDitherMatrixFor(int method);
// The 8 × 8 Bayer index matrix B[row][column], 0 at row 0 column 0.
extern const std::uint8_t kRIPBayer8[8][8];

// The data a state holds, by what it was made for:
// methods 1 and 2 into the standard 236-colour palette: 1024 bytes, for each
// level v the red, green and blue offsets (v / 43 × 36, × 6, × 1) at v,
// 256 + v and 512 + v and the palette's nearest grey entry at 768 + v;
const std::uint8_t* RIPStdPaletteTables(const RIPDitherState* state);
// method 3 into the standard palette: the cube level of each channel level
// by matrix position, byte r × 2048 + c × 256 + v;
const std::uint8_t* RIPCubeThresholds(const RIPDitherState* state);
// method 3 into another palette: each entry's nearest entry of another colour;
const std::uint8_t* RIPNeighbourTable(const RIPDitherState* state);
// methods 3 (to bilevel) to 6: the descriptor.
const RIPDitherMatrix* RIPStateMatrix(const RIPDitherState* state);

// 3 × width + 12 zeroed signed 16-bit entries; null for a negative width or
// no memory. Freed with RIPFreeErrorRows.
std::int16_t* RIPAllocErrorRows(std::int32_t width);
void RIPFreeErrorRows(std::int16_t* rows);

}  // namespace raster::convert
