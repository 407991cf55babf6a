// The tile codecs: fixed bytes of the coders, the predictor's choice, round
// trips over every pixel type, and decoders refusing bytes they did not write.
#include "raster/store/tile_codecs.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <vector>

namespace raster {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kBlock = 65536;

// Reads LZW codes back at the widths the test expects.
class CodeReader {
  public:
    explicit CodeReader(const Bytes& b) : b_(b) {}
    std::uint32_t Next(int width) {
        std::uint32_t v = 0;
        for (int i = 0; i < width; ++i, ++bit_)
            v |= static_cast<std::uint32_t>((b_[bit_ / 8] >> (bit_ % 8)) & 1) << i;
        return v;
    }

  private:
    const Bytes& b_;
    std::size_t bit_ = 0;
};

// Bytes in which no two neighbours repeat a pair, so every step adds a code.
Bytes DistinctPairs(std::size_t n) {
    std::mt19937 rng(7);
    std::set<std::uint32_t> seen;
    Bytes out{0};
    while (out.size() < n) {
        const auto c = static_cast<std::uint8_t>(rng());
        if (seen.insert(out.back() * 256u + c).second) out.push_back(c);
    }
    return out;
}

Bytes Encode(const Bytes& in) {
    auto work = std::make_unique<RIPLZWWork>();
    Bytes out(in.size() * 2 + 16);
    out.resize(RIPLZWEncode(work.get(), out.data(), out.size(), in.data(), in.size()));
    return out;
}

Bytes Decode(const Bytes& in, std::size_t capacity) {
    auto work = std::make_unique<RIPLZWWork>();
    Bytes out(capacity);
    out.resize(RIPLZWDecode(work.get(), out.data(), out.size(), in.data(), in.size()));
    return out;
}

TEST(LZW, OneByteIsClearByteAndEnd) {
    const Bytes code = Encode({'A'});
    EXPECT_EQ(code, (Bytes{0x00, 0x83, 0x04, 0x04}));
    EXPECT_EQ(Decode(code, 16), Bytes{'A'});
}

// Code 511 is the last one made at 9 bits; after 4093 the encoder clears.
TEST(LZW, WidthGrowsAtCode511AndClearsAt4094) {
    const Bytes in = DistinctPairs(4000);
    const Bytes code = Encode(in);
    CodeReader r(code);
    ASSERT_EQ(r.Next(9), 256u);
    int width = 9;
    for (std::size_t i = 0; i < 3836; ++i) {
        ASSERT_EQ(r.Next(width), in[i]) << "code " << i;
        const std::uint32_t made = 258 + static_cast<std::uint32_t>(i);
        if (made == 511 || made == 1023 || made == 2047) ++width;  // the code after is wider
    }
    EXPECT_EQ(r.Next(12), 256u);
    EXPECT_EQ(r.Next(9), in[3836]);  // a fresh table at 9 bits
    EXPECT_EQ(Decode(code, in.size()), in);
}

TEST(LZW, RoundTripsRepetitiveAndRandomBytes) {
    std::mt19937 rng(3);
    Bytes noisy(20000), runs(20000);
    for (auto& b : noisy) b = static_cast<std::uint8_t>(rng());
    for (std::size_t i = 0; i < runs.size(); ++i) runs[i] = static_cast<std::uint8_t>((i / 50) % 7);
    for (const Bytes* in : {&noisy, &runs}) EXPECT_EQ(Decode(Encode(*in), in->size()), *in);
    EXPECT_LT(Encode(runs).size(), runs.size() / 10);
}

TEST(LZW, DecoderRefusesOverflowAndCorruptCodes) {
    const Bytes in = DistinctPairs(600);
    const Bytes code = Encode(in);
    EXPECT_TRUE(Decode(code, in.size() - 1).empty());  // would pass the destination
    // A code beyond the table right after the clear.
    EXPECT_TRUE(Decode(Bytes{0x00, 0xFF, 0xFF, 0x07}, 64).empty());
    // Truncation ends the stream early: fewer bytes, never more.
    for (std::size_t cut = 0; cut < code.size(); cut += 37) {
        const Bytes part(code.begin(), code.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_LT(Decode(part, in.size()).size(), in.size());
    }
}

TEST(BitLengthCoder, ThirtyTwoZerosAreOneHeaderByte) {
    const Bytes zeros(32, 0);
    Bytes out(8);
    ASSERT_EQ(RIPTileCodecEncode8(out.data(), out.size(), zeros.data(), zeros.size()), 1u);
    EXPECT_EQ(out[0], 0x1F);
    Bytes back(32, 9);
    EXPECT_EQ(RIPTileCodecDecode8(back.data(), out.data(), 1, 32), 1);
    EXPECT_EQ(back, zeros);
}

TEST(BitLengthCoder, GroupsFollowTheWidths) {
    // 1 needs a 2-bit field (width code 1); -128 an 8-bit one (width code 7).
    const Bytes in{1, 0xFF, 0x80};
    Bytes out(8);
    const std::size_t n = RIPTileCodecEncode8(out.data(), out.size(), in.data(), in.size());
    // 1 and -1 share width code 1; -128 would widen that group by 6 bits a
    // sample (6 × 2 > 8), so it starts its own: 8 + 2 × 2 + 8 + 8 = 28 bits.
    ASSERT_EQ(n, 4u);
    EXPECT_EQ(out[0], (1 << 5) | 1);
    Bytes back(3);
    ASSERT_EQ(RIPTileCodecDecode8(back.data(), out.data(), n, 3), 1);
    EXPECT_EQ(back, in);
    // The encoder stops at its capacity instead of writing past it, in the
    // last bytes as in whole words.
    EXPECT_EQ(RIPTileCodecEncode8(out.data(), 2, in.data(), in.size()), 0u);
    const Bytes wide(64, 127);
    Bytes room(40, 0xEE);
    EXPECT_EQ(RIPTileCodecEncode8(room.data(), 20, wide.data(), wide.size()), 0u);
    EXPECT_EQ(room[20], 0xEE);
}

TEST(BitLengthCoder, SixteenBitSamplesRoundTrip) {
    std::vector<std::uint16_t> in{0, 1, 0xFFFF, 0x8000, 0x7FFF, 3, 3, 0};
    for (int i = 0; i < 100; ++i) in.push_back(static_cast<std::uint16_t>(i * 37));
    Bytes out(in.size() * 3 + 8);
    const std::size_t n = RIPTileCodecEncode16(out.data(), out.size(), in.data(), in.size());
    std::vector<std::uint16_t> back(in.size());
    ASSERT_EQ(RIPTileCodecDecode16(back.data(), out.data(), n, back.size()), 1);
    EXPECT_EQ(back, in);
    EXPECT_EQ(RIPTileCodecDecode16(back.data(), out.data(), n - 1, back.size()), 0);
}

struct TypeCase {
    std::int32_t type;
    std::int32_t rowBytes;
};

const TypeCase kTypes[] = {{1, 432},  {3, 512},  {5, 256},  {6, 96},  {10, 256},
                           {11, 432}, {12, 624}, {14, 360}, {99, 256}};

enum class Content { kSmooth, kNoisy, kUniform };

Bytes Block(Content content, std::uint32_t seed) {
    Bytes b(kBlock);
    std::mt19937 rng(seed);
    for (std::size_t i = 0; i < b.size(); ++i) {
        switch (content) {
            case Content::kSmooth:
                b[i] = static_cast<std::uint8_t>((i % 97) / 3 + (i / 4096));
                break;
            case Content::kNoisy:
                b[i] = static_cast<std::uint8_t>(rng());
                break;
            case Content::kUniform:
                b[i] = static_cast<std::uint8_t>(0x5A);
                break;
        }
    }
    return b;
}

class CodecRoundTrip : public ::testing::TestWithParam<TypeCase> {};

// Predictor, coder, decoder and undo give back every whole row (the tail is
// zeroed by the combined predictor), for every pixel type and content.
TEST_P(CodecRoundTrip, RestoresTheRows) {
    const TypeCase t = GetParam();
    const std::size_t rows =
        kBlock / static_cast<std::size_t>(t.rowBytes) * static_cast<std::size_t>(t.rowBytes);
    auto work = std::make_unique<RIPLZWWork>();
    for (Content content : {Content::kSmooth, Content::kNoisy, Content::kUniform}) {
        const Bytes original = Block(content, static_cast<std::uint32_t>(t.type));
        Bytes block = original;
        std::int32_t kind = kPredictCombined;
        const std::int32_t codec =
            RIPPredictorEncode(block.data(), t.rowBytes, t.type, kBlock, nullptr, &kind);
        SCOPED_TRACE(::testing::Message() << "type " << t.type << " content " << static_cast<int>(content));
        if (t.type == 6 || t.type == 10) {
            EXPECT_EQ(codec, kCodecBitLength);
            EXPECT_EQ(kind, kPredictNone);
        } else if (content == Content::kUniform && t.type != 12 && t.type != 14) {
            // 0x5A5A… is one colour for the byte types only when the pixel repeats.
            EXPECT_EQ(codec, kCodecSolid);
        }
        if (content == Content::kNoisy && t.type != 6 && t.type != 10) {
            EXPECT_EQ(codec, kCodecRaw);
        }
        for (std::int32_t use : {std::int32_t{kCodecBitLength}, std::int32_t{kCodecLZW}}) {
            Bytes packed(2 * kBlock + 16);
            const std::ptrdiff_t n =
                RIPTileCompress(work.get(), packed.data(), packed.size(), block.data(), kBlock, use, t.type);
            ASSERT_GT(n, 0);
            Bytes back(kBlock, 0xEE);
            ASSERT_EQ(RIPTileDecompress(work.get(), back.data(), packed.data(), static_cast<std::size_t>(n),
                                        kBlock, t.type, t.rowBytes, use),
                      1);
            EXPECT_EQ(back, block);
            RIPPredictorDecode(back.data(), t.rowBytes, t.type, kBlock, nullptr, kind);
            const std::size_t kept = kind == kPredictCombined ? rows : kBlock;
            EXPECT_TRUE(
                std::equal(back.begin(), back.begin() + static_cast<std::ptrdiff_t>(kept), original.begin()));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Types, CodecRoundTrip, ::testing::ValuesIn(kTypes),
                         [](const auto& info) { return "Type" + std::to_string(info.param.type); });

TEST(Predictor, UniformBlockIsSolidWithSumZero) {
    Bytes block(kBlock);
    for (std::size_t i = 0; i + 3 <= 151 * 432; i += 3) {
        block[i] = 10;
        block[i + 1] = 20;
        block[i + 2] = 30;
    }
    std::int32_t kind = kPredictCombined;
    EXPECT_EQ(RIPPredictorEncode(block.data(), 432, 1, kBlock, nullptr, &kind), kCodecSolid);
    EXPECT_EQ(RIPPredictorLastSum(), 0u);
    colour::ColorRecord c;
    ASSERT_TRUE(RIPTileSolidColour(1, block.data(), &c));
    EXPECT_EQ(c.Model(), colour::kModelRGB);
    EXPECT_EQ(c.bytes[8], 10);
    EXPECT_EQ(c.bytes[10], 30);
}

TEST(Predictor, OtherKindsRoundTrip) {
    for (std::int32_t kind : {1, 2}) {
        for (const TypeCase& t : kTypes) {
            const Bytes original = Block(Content::kSmooth, 1);
            Bytes block = original;
            std::int32_t k = kind;
            EXPECT_EQ(RIPPredictorEncode(block.data(), t.rowBytes, t.type, kBlock, nullptr, &k),
                      kCodecBitLength);
            RIPPredictorDecode(block.data(), t.rowBytes, t.type, kBlock, nullptr, k);
            EXPECT_EQ(block, original) << "kind " << kind << " type " << t.type;
        }
    }
}

TEST(Decoders, RefuseTruncatedAndRandomInput) {
    auto work = std::make_unique<RIPLZWWork>();
    Bytes block = Block(Content::kSmooth, 2);
    std::int32_t kind = kPredictCombined;
    RIPPredictorEncode(block.data(), 256, 5, kBlock, nullptr, &kind);
    Bytes packed(2 * kBlock + 16);
    for (std::int32_t codec :
         {std::int32_t{kCodecBitLength}, std::int32_t{kCodecLZW}, std::int32_t{kCodecRaw}}) {
        std::ptrdiff_t n = codec == kCodecRaw ? static_cast<std::ptrdiff_t>(kBlock)
                                              : RIPTileCompress(work.get(), packed.data(), packed.size(),
                                                                block.data(), kBlock, codec, 5);
        if (codec == kCodecRaw) std::copy(block.begin(), block.end(), packed.begin());
        Bytes out(kBlock);
        // LZW may lose only its end code to the last byte and still be whole.
        const std::ptrdiff_t last = codec == kCodecLZW ? n / 2 : n - 1;
        for (std::ptrdiff_t cut : {std::ptrdiff_t{0}, n / 3, last}) {
            // Exactly as long as the stored bytes: a copy guard catches reads past them.
            const Bytes part(packed.begin(), packed.begin() + cut);
            EXPECT_EQ(
                RIPTileDecompress(work.get(), out.data(), part.data(), part.size(), kBlock, 5, 256, codec), 0)
                << "codec " << codec << " cut " << cut;
        }
    }
    std::mt19937 rng(11);
    for (int trial = 0; trial < 50; ++trial) {
        Bytes noise(1 + rng() % 3000);
        for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
        Bytes out(4096);
        for (std::int32_t codec : {2, 4, 5}) {
            for (std::int32_t type : {5, 12}) {
                RIPTileDecompress(work.get(), out.data(), noise.data(), noise.size(), out.size(), type, 256,
                                  codec);
            }
        }
    }
    EXPECT_EQ(RIPTileDecompress(work.get(), packed.data(), packed.data(), 4, 4, 5, 256, kCodecAbsent), -1);
    EXPECT_EQ(RIPTileCompress(work.get(), packed.data(), 4, packed.data(), 4, kCodecRaw, 5), -1);
}

// The 48-bit fill writes whole six-byte pixels only: a row of 624 bytes holds
// 104 of them, and the last row ends at the block's end.
TEST(FillSolid, FortyEightBitRowsStayInsideTheBlock) {
    const std::size_t bytes = 105 * 624;
    auto block = std::make_unique<std::uint8_t[]>(bytes);  // no slack: a sanitizer sees any overrun
    const colour::ColorRecord c = colour::ColorRecord::RGB48(0x0102, 0x0304, 0x0506);
    ASSERT_EQ(RIPTileFillSolid(12, block.get(), 624, bytes, c), 0);
    EXPECT_EQ(block[bytes - 6], c.bytes[6]);
    EXPECT_EQ(block[bytes - 1], c.bytes[11]);
    EXPECT_EQ(RIPTileFillSolid(7, block.get(), 624, bytes, c), -1);
}

}  // namespace
}  // namespace raster
