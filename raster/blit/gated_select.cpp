// Picks the gated stretch's vector operations from the kernels' feature word,
// so one switch (and SVGFILTER_KERNEL_PATH) governs every vector path.
#include "gated_vector.h"

#include "kernels/kernel_state.h"

namespace raster::blit::detail {

const GatedVectorOps* ActiveGatedOps() {
#if SVGFILTER_GATED_X86
    const std::uint32_t f = kernels::RIPProcessorFeatures.load(std::memory_order_relaxed);
    if (f & kernels::kRIPFeatureWide) {
        return &kAvx2GatedOps;
    }
    if (f & kernels::kRIPFeatureVector) {
        return &kSse2GatedOps;
    }
#endif
    return nullptr;
}

}  // namespace raster::blit::detail
