// Dither states, the three threshold matrices and the tables built from a
// destination palette.
#include "dither_state.h"

#include <array>
#include <cstdlib>
#include <new>

#include "raster/palette.h"

namespace raster::convert {
namespace {

using Matrix8 = std::array<std::uint8_t, 64>;
using Matrix16 = std::array<std::uint8_t, 256>;

// A clustered screen: the n/2 cell repeated twice across in the upper half,
// and the upper half's rows turned left by n/4 columns in the lower half.
template <std::size_t N, std::size_t Cell>
constexpr std::array<std::uint8_t, N * N> Screen(const std::uint8_t (&cell)[Cell][Cell]) {
    std::array<std::uint8_t, N * N> m{};
    for (std::size_t r = 0; r < N / 2; ++r) {
        for (std::size_t c = 0; c < N; ++c) {
            m[r * N + c] = cell[r][c % Cell];
            m[(r + N / 2) * N + c] = cell[r][(c + N / 4) % Cell];
        }
    }
    return m;
}

constexpr std::uint8_t kCell4[4][4] = {{15, 4, 8, 13}, {10, 1, 2, 7}, {6, 3, 0, 11}, {12, 9, 5, 14}};
constexpr std::uint8_t kCell8[8][8] = {
    {63, 58, 50, 40, 41, 51, 59, 60}, {57, 33, 27, 18, 19, 28, 34, 52}, {49, 26, 13, 11, 12, 15, 29, 44},
    {39, 17, 4, 3, 2, 9, 20, 42},     {38, 16, 5, 0, 1, 10, 21, 43},    {48, 25, 8, 6, 7, 14, 30, 45},
    {56, 32, 24, 23, 22, 31, 35, 53}, {62, 55, 47, 37, 36, 46, 54, 61},
};
constexpr Matrix8 kScreen8 = Screen<8>(kCell4);
constexpr Matrix16 kScreen16 = Screen<16>(kCell8);

const RIPDitherMatrix kMatrix4{8, 16, kScreen8.data(), 0};
const RIPDitherMatrix kMatrix5{16, 64, kScreen16.data(), 0};
const RIPDitherMatrix kMatrix6{8, 63, &kRIPBayer8[0][0], 4};

constexpr std::size_t kStdTablesBytes = 1024;
constexpr std::size_t kCubeBytes = 16384;
constexpr std::size_t kNeighbourBytes = 256;

void FillStdTables(std::uint8_t* t, const RIPPalette* palette) {
    for (int v = 0; v < 256; ++v) {
        const int q = v / 43;
        t[v] = static_cast<std::uint8_t>(q * 36);
        t[256 + v] = static_cast<std::uint8_t>(q * 6);
        t[512 + v] = static_cast<std::uint8_t>(q);
        t[768 + v] = static_cast<std::uint8_t>(RIPNearestGreyEntry(palette, v));
    }
}

void FillCube(std::uint8_t* t) {
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            for (int v = 0; v < 256; ++v) {
                const int q = v / 51;
                const bool up = (v - 51 * q) * 63 > kRIPBayer8[r][c] * 51 && q < 5;
                t[r * 2048 + c * 256 + v] = static_cast<std::uint8_t>(up ? q + 1 : q);
            }
        }
    }
}

// An entry whose colour every other entry shares has no neighbour of another
// colour: it is its own neighbour.
void FillNeighbours(std::uint8_t* t, const RIPPalette* palette) {
    const int count = palette->count < 256 ? palette->count : 256;
    const std::uint8_t* e = palette->Entries();
    for (int i = 0; i < 256; ++i) {
        t[i] = static_cast<std::uint8_t>(i < count ? i : 0);
    }
    for (int i = 0; i < count; ++i) {
        std::uint32_t best = 0x30000;
        for (int j = 0; j < count; ++j) {
            std::uint32_t d = 0;
            for (int c = 0; c < 3; ++c) {
                const int k = e[3 * i + c] - e[3 * j + c];
                d += static_cast<std::uint32_t>(k * k);
            }
            if (d >= 1 && d < best) {
                best = d;
                t[i] = static_cast<std::uint8_t>(j);
            }
        }
    }
}

enum class Data { kNone, kStdTables, kCube, kNeighbours, kMatrix };

// What a method needs for a target; false when the pair is refused.
bool Plan(int method, const RIPPalette* palette, int target, Data* data) {
    if (method < 1 || method > 6 || (target != kDitherBilevel && target != kDitherPaletted)) return false;
    const int kind = palette != nullptr ? palette->kind : 0;
    const bool paletted = target == kDitherPaletted;
    switch (method) {
        case 1:
        case 2:
            *data = paletted && kind == kPaletteStandard ? Data::kStdTables : Data::kNone;
            return true;
        case 3:
            if (!paletted) {
                *data = Data::kMatrix;
                return true;
            }
            if (kind == 0) return false;
            *data = kind == kPaletteStandard ? Data::kCube : Data::kNeighbours;
            return true;
        case 4:
        case 5:
            *data = Data::kMatrix;
            return !paletted;
        default:
            *data = Data::kMatrix;
            return true;
    }
}

}  // namespace

const std::uint8_t kRIPBayer8[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},    {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},   {63, 31, 55, 23, 61, 29, 53, 21},
};

const RIPDitherMatrix* RIPDitherMatrixFor(int method) {
    switch (method) {
        case 3:
        case 6:
            return &kMatrix6;
        case 4:
            return &kMatrix4;
        case 5:
            return &kMatrix5;
        default:
            return nullptr;
    }
}

RIPDitherState* RIPCreateDitherState(int method, const RIPPalette* palette, int target) {
    Data data = Data::kNone;
    if (!Plan(method, palette, target, &data)) return nullptr;
    const std::size_t size = data == Data::kStdTables    ? kStdTablesBytes
                             : data == Data::kCube       ? kCubeBytes
                             : data == Data::kNeighbours ? kNeighbourBytes
                                                         : sizeof(void*);
    void* block = std::malloc(sizeof(RIPDitherState) + size);
    if (block == nullptr) return nullptr;
    auto* state = new (block) RIPDitherState{method, static_cast<RIPDitherState*>(block) + 1};
    auto* bytes = static_cast<std::uint8_t*>(state->data);
    switch (data) {
        case Data::kStdTables:
            FillStdTables(bytes, palette);
            break;
        case Data::kCube:
            FillCube(bytes);
            break;
        case Data::kNeighbours:
            FillNeighbours(bytes, palette);
            break;
        case Data::kMatrix:
            *static_cast<const RIPDitherMatrix**>(state->data) = RIPDitherMatrixFor(method);
            break;
        case Data::kNone:
            *static_cast<const RIPDitherMatrix**>(state->data) = nullptr;
            break;
    }
    return state;
}

int RIPDestroyDitherState(RIPDitherState* state) {
    if (state == nullptr) return 0;
    std::free(state);
    return 1;
}

const std::uint8_t* RIPStdPaletteTables(const RIPDitherState* state) {
    return static_cast<const std::uint8_t*>(state->data);
}
const std::uint8_t* RIPCubeThresholds(const RIPDitherState* state) {
    return static_cast<const std::uint8_t*>(state->data);
}
const std::uint8_t* RIPNeighbourTable(const RIPDitherState* state) {
    return static_cast<const std::uint8_t*>(state->data);
}
const RIPDitherMatrix* RIPStateMatrix(const RIPDitherState* state) {
    return *static_cast<const RIPDitherMatrix* const*>(state->data);
}

std::int16_t* RIPAllocErrorRows(std::int32_t width) {
    if (width < 0) return nullptr;
    return static_cast<std::int16_t*>(
        std::calloc(3 * static_cast<std::size_t>(width) + 12, sizeof(std::int16_t)));
}

void RIPFreeErrorRows(std::int16_t* rows) {
    std::free(rows);
}

}  // namespace raster::convert
