// What the slot tests share: random rows leaning on the edge values, with
// guard bytes around the run; random masks; the cases, one per table row.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "kernels/kernel_frame.h"

namespace raster::kernels::testing {

inline constexpr std::size_t kGuard = 16;
inline constexpr std::uint8_t kGuardByte = 0xA5;

inline std::uint8_t EdgeBiased(std::mt19937& rng) {
    static constexpr std::uint8_t kEdges[] = {0, 1, 2, 127, 128, 129, 253, 254, 255};
    if (rng() % 2 == 0) {
        return kEdges[rng() % std::size(kEdges)];
    }
    return static_cast<std::uint8_t>(rng());
}

// A buffer with guard bytes on both sides and `offset` spare bytes before the run.
struct Row {
    std::vector<std::uint8_t> bytes;
    std::size_t offset;
    Row(std::size_t size, std::size_t offset, std::mt19937& rng) : bytes(2 * kGuard + offset + size, kGuardByte), offset(offset) {
        for (std::size_t i = 0; i < size; ++i) {
            bytes[kGuard + offset + i] = EdgeBiased(rng);
        }
    }
    std::uint8_t* Run() { return bytes.data() + kGuard + offset; }
};

// The coverage of one case: both masks random, opacity from the edges.
struct Masks {
    std::vector<std::uint8_t> m1, m2;
    RIPKernelCoverage cov;
    Masks(std::uint32_t n, std::mt19937& rng) : m1(n + 1), m2(n + 1) {
        for (auto& b : m1) b = EdgeBiased(rng);
        for (auto& b : m2) b = EdgeBiased(rng);
        cov = {m1.data(), m2.data(), EdgeBiased(rng)};
    }
    RIPKernelCoverage At(std::uint32_t start) const {
        return {cov.mask1 + start, cov.mask2 + start, cov.opacity};
    }
};

struct SlotCase {
    std::string table;
    std::uint32_t row;
};
inline void PrintTo(const SlotCase& c, std::ostream* os) { *os << c.table << " row " << c.row; }

inline std::string Name(const ::testing::TestParamInfo<SlotCase>& info) {
    std::string t = info.param.table;
    for (char& ch : t) {
        if (ch == '-') ch = '_';
    }
    return t + "_row" + std::to_string(info.param.row);
}

inline bool Runs(const void* slot, const void* noOp, const void* pending) {
    return slot != nullptr && slot != noOp && slot != pending;
}

// Every row of one table.
inline std::vector<SlotCase> AllRows(const std::string& table) {
    std::vector<SlotCase> rows;
    for (std::uint32_t r = 0; r < 36; ++r) rows.push_back({table, r});
    return rows;
}

}  // namespace raster::kernels::testing
