// Bit runs and byte masks onto 1-bit rows, against a bit-by-bit model.
#include <gtest/gtest.h>

#include <vector>

#include "raster/bit_rows.h"

namespace raster {
namespace {

void SetBit(std::vector<std::uint8_t>& row, std::uint32_t x, bool on) {
    if (on) {
        row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    } else {
        row[x / 8] &= static_cast<std::uint8_t>(~(0x80 >> (x % 8)));
    }
}

TEST(SetBitRun, WorkedValues) {
    std::vector<std::uint8_t> row(2, 0);
    RIPSetBitRun(row.data(), 3, 2, 1);
    EXPECT_EQ(row[0], 0x18);
    row = {0xFF, 0xFF, 0xFF};
    RIPSetBitRun(row.data(), 0, 16, 0);
    EXPECT_EQ(row, (std::vector<std::uint8_t>{0, 0, 0xFF}));
}

TEST(SetBitRun, EveryStartAndLengthChangesExactlyItsBits) {
    for (std::uint32_t value : {0u, 1u}) {
        for (std::uint32_t x = 0; x < 16; ++x) {
            for (std::uint32_t n = 0; n <= 60; ++n) {
                std::vector<std::uint8_t> row(12), want;
                for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<std::uint8_t>(0x5A ^ (i * 37));
                want = row;
                for (std::uint32_t i = x; i < x + n; ++i) SetBit(want, i, value != 0);
                RIPSetBitRun(row.data(), x, n, value);
                ASSERT_EQ(row, want) << "x " << x << " n " << n << " value " << value;
            }
        }
    }
}

TEST(ByteMaskToBits, SetsOrClearsWhereTheMasksAreOn) {
    for (std::uint32_t value : {0u, 1u}) {
        for (std::uint32_t x = 0; x < 8; ++x) {
            for (std::uint32_t n = 0; n <= 40; ++n) {
                std::vector<std::uint8_t> m1(n + 1), m2(n + 1);
                for (std::uint32_t i = 0; i <= n; ++i) {
                    m1[i] = static_cast<std::uint8_t>((i * 5) % 3 == 0 ? 0 : i);
                    m2[i] = static_cast<std::uint8_t>(i % 4 == 1 ? 0 : 200);
                }
                std::vector<std::uint8_t> one(7, 0x96), two(7, 0x96);
                std::vector<std::uint8_t> wantOne = one, wantTwo = two;
                for (std::uint32_t i = 0; i < n; ++i) {
                    if (m1[i]) SetBit(wantOne, x + i, value != 0);
                    if (m1[i] && m2[i]) SetBit(wantTwo, x + i, value != 0);
                }
                RIPByteMaskToBitsOr(one.data(), x, m1.data(), n, value);
                RIPByteMaskToBitsAnd2(two.data(), x, m1.data(), m2.data(), n, value);
                ASSERT_EQ(one, wantOne) << "x " << x << " n " << n;
                ASSERT_EQ(two, wantTwo) << "x " << x << " n " << n;
            }
        }
    }
}

}  // namespace
}  // namespace raster
