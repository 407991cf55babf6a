// The kernel paths this processor can run (plain, SSE2, AVX2), and a scope
// that forces one of them.
#pragma once

#include <string>
#include <vector>

#include "kernels/kernel_state.h"

namespace raster::kernels::testing {

struct KernelPath {
    std::string name;
    std::uint32_t features;
};

inline std::vector<KernelPath> AvailablePaths() {
    const std::uint32_t saved = RIPSetProcessorFeatures(kRIPFeatureVector | kRIPFeatureWide);
    const std::uint32_t have = RIPSetProcessorFeatures(saved);
    std::vector<KernelPath> paths = {{"plain", 0}};
    if (have & kRIPFeatureVector) {
        paths.push_back({"sse2", kRIPFeatureVector});
    }
    if (have & kRIPFeatureWide) {
        paths.push_back({"avx2", kRIPFeatureVector | kRIPFeatureWide});
    }
    return paths;
}

class ScopedPath {
public:
    explicit ScopedPath(std::uint32_t features) : saved_(RIPSetProcessorFeatures(features)) {}
    ~ScopedPath() { RIPSetProcessorFeatures(saved_); }
    ScopedPath(const ScopedPath&) = delete;
    ScopedPath& operator=(const ScopedPath&) = delete;

private:
    std::uint32_t saved_;
};

}  // namespace raster::kernels::testing
