// Bit runs, byte masks and copies at bit offsets on 1-bit rows, against a
// bit-by-bit model.
#include <gtest/gtest.h>

#include <memory>
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

bool GetBit(const std::uint8_t* row, std::uint32_t x) {
    return (row[x / 8] >> (7 - x % 8)) & 1;
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

TEST(CopyBitsAtOffset, ThreeBitsToBitSixTouchTwoBytes) {
    std::vector<std::uint8_t> dst = {0x00, 0x00, 0x00};
    const std::uint8_t src[1] = {0xE0};
    RIPCopyBitsAtOffset(dst.data(), 6, src, 0, 3);
    EXPECT_EQ(dst, (std::vector<std::uint8_t>{0x03, 0x80, 0x00}));
    dst = {0xFF, 0xFF, 0xFF};
    const std::uint8_t clear[1] = {0x00};
    RIPCopyBitsAtOffset(dst.data(), 6, clear, 0, 3);
    EXPECT_EQ(dst, (std::vector<std::uint8_t>{0xFC, 0x7F, 0xFF}));
}

TEST(CopyBitsAtOffset, EveryOffsetPairCopiesExactlyItsBits) {
    std::vector<std::uint8_t> src(700);
    for (std::size_t i = 0; i < src.size(); ++i) src[i] = static_cast<std::uint8_t>(i * 151 + 7);
    // Lengths past 2048 bits cross the aligning buffer's chunks.
    for (std::uint32_t n : {0u, 1u, 2u, 7u, 8u, 9u, 15u, 16u, 17u, 31u, 40u, 2047u, 2048u, 2049u, 5000u}) {
        for (std::uint32_t dstBit = 0; dstBit < 8; ++dstBit) {
            for (std::uint32_t srcBit = 0; srcBit < 16; ++srcBit) {
                std::vector<std::uint8_t> dst(n / 8 + 4, 0x69);
                std::vector<std::uint8_t> want = dst;
                for (std::uint32_t i = 0; i < n; ++i) SetBit(want, dstBit + i, GetBit(src.data(), srcBit + i));
                RIPCopyBitsAtOffset(dst.data(), dstBit, src.data(), srcBit, n);
                ASSERT_EQ(dst, want) << "n " << n << " dst " << dstBit << " src " << srcBit;
            }
        }
    }
}

TEST(AlignBitRow, ReadsNoSourceBytePastTheRun) {
    for (std::uint32_t shift = 0; shift < 8; ++shift) {
        for (std::uint32_t n = 1; n <= 33; ++n) {
            // Exactly the bytes the run occupies, on the heap, so a read past them shows.
            const std::size_t bytes = (shift + n + 7) / 8;
            std::unique_ptr<std::uint8_t[]> src(new std::uint8_t[bytes]);
            for (std::size_t i = 0; i < bytes; ++i) src[i] = static_cast<std::uint8_t>(0xC3 ^ (i * 29));
            std::vector<std::uint8_t> dst((n + 7) / 8, 0xAA), want(dst.size(), 0);
            for (std::uint32_t i = 0; i < n; ++i) SetBit(want, i, GetBit(src.get(), shift + i));
            RIPAlignBitRow(dst.data(), src.get(), shift, n);
            ASSERT_EQ(dst, want) << "shift " << shift << " n " << n;
        }
    }
}

}  // namespace
}  // namespace raster
