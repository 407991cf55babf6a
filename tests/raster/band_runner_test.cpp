// The band runner's runs: how mask bytes split a row, how sources combine,
// and the single call for a band without coverage.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "raster/band_runner.h"
#include "raster/image.h"

namespace raster {
namespace {

struct Painted {
    std::int32_t x, y;
    std::uint32_t n;
    int masks;
    std::uint8_t first;
    friend bool operator==(const Painted&, const Painted&) = default;
};

int Record(void* p, std::int32_t x, std::int32_t y, std::uint32_t n, const kernels::RIPKernelCoverage* c) {
    const int masks = c == nullptr || c->mask1 == nullptr ? 0 : c->mask2 == nullptr ? 1 : 2;
    static_cast<std::vector<Painted>*>(p)->push_back(Painted{x, y, n, masks, masks > 0 ? c->mask1[0] : std::uint8_t{0}});
    return 1;
}

int NextRow(void*) { return 1; }

RIPImage* MaskRow(const std::vector<std::uint8_t>& bytes) {
    RIPImage* image =
        RIPCreateImageEx(kTypeCoverage, static_cast<std::int32_t>(bytes.size()), 1, 0, 0, kOneBlock, nullptr, 0);
    std::memcpy(RIPBlockPixelAddress(image, 0, 0), bytes.data(), bytes.size());
    return image;
}

std::vector<Painted> RunsOf(const std::vector<std::uint8_t>& bytes) {
    RIPImage* mask = MaskRow(bytes);
    std::vector<Painted> runs;
    RIPBandCallbacks callbacks;
    callbacks.context = &runs;
    callbacks.paint = &Record;
    callbacks.next = &NextRow;
    const RIPRect band{0, 0, static_cast<std::int32_t>(bytes.size()) - 1, 0};
    RIPCoverageSource source{nullptr, mask, band, false};
    EXPECT_EQ(RIPRunBand(nullptr, &callbacks, band, nullptr, &source, 1), 1);
    RIPDestroyImage(mask);
    return runs;
}

TEST(BandRunner, FullStretchesBecomeOpaqueRuns) {
    std::vector<std::uint8_t> bytes{0, 0};
    bytes.insert(bytes.end(), 20, 255);
    bytes.push_back(0);
    EXPECT_EQ(RunsOf(bytes), (std::vector<Painted>{{2, 0, 20, 0, 0}}));
}

TEST(BandRunner, AMaskRunEndsAfterTheNinthFullByte) {
    std::vector<std::uint8_t> bytes(3, 255);
    bytes.push_back(128);
    bytes.insert(bytes.end(), 12, 255);
    EXPECT_EQ(RunsOf(bytes), (std::vector<Painted>{{0, 0, 13, 1, 255}, {13, 0, 3, 0, 0}}));
}

TEST(BandRunner, SourcesCombineAndAThirdMaskIsMultipliedIn) {
    RIPImage* a = MaskRow({255, 128, 128, 0});
    RIPImage* b = MaskRow({255, 255, 128, 255});
    RIPImage* c = MaskRow({255, 128, 128, 255});
    std::vector<Painted> runs;
    struct Seen {
        std::vector<Painted>* runs;
        std::vector<std::uint8_t> second;
    } seen{&runs, {}};
    RIPBandCallbacks callbacks;
    callbacks.context = &seen;
    callbacks.next = &NextRow;
    callbacks.paint = [](void* p, std::int32_t x, std::int32_t y, std::uint32_t n,
                         const kernels::RIPKernelCoverage* cov) {
        auto* s = static_cast<Seen*>(p);
        if (cov->mask2 != nullptr) s->second.assign(cov->mask2, cov->mask2 + n);
        return Record(s->runs, x, y, n, cov);
    };
    const RIPRect band{0, 0, 3, 0};
    RIPCoverageSource sources[3] = {{nullptr, a, band, false}, {nullptr, b, band, false}, {nullptr, c, band, false}};
    RIPRasterState* state = nullptr;
    ASSERT_EQ(RIPRunBand(state, &callbacks, band, nullptr, sources, 3), 1);
    // A lone full byte before partial ones is part of the mask run; column 3
    // is not covered by the first source.
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], (Painted{0, 0, 3, 2, 255}));
    EXPECT_EQ(seen.second, (std::vector<std::uint8_t>{255, 128, 64}));
    RIPDestroyImage(a);
    RIPDestroyImage(b);
    RIPDestroyImage(c);
}

TEST(BandRunner, ABandWithoutCoverageOrNextRowIsOneCall) {
    std::vector<Painted> runs;
    RIPBandCallbacks callbacks;
    callbacks.context = &runs;
    callbacks.paint = &Record;
    ASSERT_EQ(RIPRunBand(nullptr, &callbacks, RIPRect{3, 9, 7, 2}, nullptr, nullptr, 0), 1);
    EXPECT_EQ(runs, (std::vector<Painted>{{0, 0, 5, 0, 0}}));
    // A source band of another size is refused.
    const RIPRect other{0, 0, 1, 0};
    EXPECT_EQ(RIPRunBand(nullptr, &callbacks, RIPRect{3, 9, 7, 2}, &other, nullptr, 0), 0);
}

}  // namespace
}  // namespace raster
