// RIPBlitContext: everything one blit call holds between its validation and
// its last row: the two images, rectangles and clips, the mapping between
// them, the kernel row and the three kernels, the working-format converters,
// the stretch state and the current band's tiles and row addresses.
#pragma once

#include <cstdint>
#include <vector>

#include "blit/resample.h"

#include "kernels/kernel_frame.h"
#include "kernels/kernel_tables.h"
#include "raster/band_runner.h"
#include "raster/image.h"
#include "raster/rect.h"
#include "raster/row_convert.h"

namespace raster {
struct RIPRasterState;
struct RIPTileSlot;
}  // namespace raster

namespace raster::blit {

// The flags word of a blit.
inline constexpr std::uint32_t kBlitModeMask = 0xFFFF;
inline constexpr std::uint32_t kBlitUseSourceMask = 0x10000;
inline constexpr std::uint32_t kBlitUseSourceAlpha = 0x20000;
inline constexpr std::uint32_t kBlitIgnoreDestinationMask = 0x40000;
inline constexpr std::uint32_t kBlitIgnoreDestinationAlpha = 0x80000;
inline constexpr std::uint32_t kBlitAlphaGatedSmoothing = 0x100000;
// Bits 24-27: destination channel + 1; bits 28-31: source channel + 1.
inline constexpr std::uint32_t ChannelSelect(std::uint32_t flags) { return flags >> 24; }

enum RIPStretchKind : std::int32_t { kStretchNone = 0, kStretchNearestRows = 1, kStretchSmoothRows = 2 };

struct RIPConverterBlock {
    RIPRowConverter converter = nullptr;
    RIPConverterContext context;
};

struct RIPBlitContext;
// Produces destination row y of the current band into the output row.
using RIPRowProducer = int (*)(RIPBlitContext* ctx, std::int32_t y);

struct RIPBlitContext {
    kernels::RIPKernelParams::Blit params;
    RIPImage* src = nullptr;
    RIPImage* dst = nullptr;
    RIPRasterState* state = nullptr;    // the caller's, may be null
    RIPRasterState* mapping = nullptr;  // private: destination (logical) onto source (device)
    std::uint32_t flags = 0;
    std::uint32_t mergeMode = 0;
    std::uint8_t opacity = 255;

    RIPRect srcRect, dstRect;  // the mapping's two rectangles
    std::int64_t srcWidth = 0, srcHeight = 0, dstWidth = 0, dstHeight = 0;
    RIPRect srcClip, dstClip;

    std::int32_t stretchMode = kStretchNone;
    bool alphaGated = false;
    bool coverage = false;
    bool sameImage = false;
    bool solidSource = false;

    // Kernel selection.
    const kernels::RIPBlitKernelRow* kernelRow = nullptr;
    kernels::RIPBlitKernel kernels[3] = {};  // no mask, one mask, two masks
    bool converted = false;
    bool channelBlit = false;
    std::int32_t srcChannelOffset = 0;
    std::int32_t dstChannelOffset = 0;
    std::int32_t workingType = 0;
    std::int32_t workingBits = 0;
    RIPConverterBlock toWorking, destinationToWorking, workingToDestination;
    std::vector<std::uint8_t> srcWork, dstWork;  // working pixels of the source and destination runs

    // Stretching: the output row (working pixels of the current band), the
    // rows resampled horizontally and their source row tags, the vertical
    // accumulator.
    RIPRowProducer producer = nullptr;
    std::vector<std::uint8_t> output;
    // Where the smooth producers write the row instead, when set (the
    // destination row itself, which then needs no copy of the output row).
    std::uint8_t* rowTarget = nullptr;
    std::vector<std::uint8_t> workRows[2];
    std::int32_t rowTags[2] = {-1, -1};
    std::vector<std::uint64_t> accumulator;
    std::int32_t cachedSourceRow = -1;
    // The alpha-gated smooth stretch: the marks of each work row and of the
    // output row, the weight each output pixel received, and the source's
    // alpha run (fetched, then laid over the source run's columns). The held
    // row spans the clip: each column keeps what it last received, so that a
    // pixel no marked source reaches takes the value of the row below it in
    // its column, whatever band painted that row.
    std::vector<std::uint8_t> alphaRows[2];
    std::vector<std::uint8_t> alphaOutput;
    std::vector<std::uint8_t> heldRow;
    std::vector<std::uint64_t> weightSums;
    std::vector<std::uint8_t> alphaFetch, alphaRun;
    // Its vector path (8-bit samples): each output sample's sum and weight in
    // single precision, and each work row's marks spread over its samples
    // (valid for the source row tagged beside them).
    std::vector<float> gatedSums;
    std::vector<std::uint8_t> sampleMarks[2];
    std::int32_t sampleMarkTags[2] = {-1, -1};
    RIPGatedColumns gatedColumns;

    // The band being painted.
    RIPRect band, srcBand;
    RIPTileSlot* dstSlot = nullptr;
    RIPTileSlot* srcSlot = nullptr;
    std::uint8_t* dstRow = nullptr;
    const std::uint8_t* srcRow = nullptr;
    std::uint8_t solid[8] = {};
    std::int32_t solidBytes = 0;  // 0: the source tile has pixels
    bool rowProduced = false;
    kernels::RIPKernelRandom random;
};

// Bytes a pixel of a type takes in memory (0 for bilevel and packed indices).
std::int32_t RIPPixelBytes(std::int32_t type, std::int32_t bits);
// The pixel form of a solid tile's colour: up to 6 bytes; 0 for a model without one.
std::int32_t RIPSolidPixel(const colour::ColorRecord& colour, std::uint8_t* out);

// Clips and maps: the context, or null with *outEmpty 1 when nothing is to
// be drawn, 0 when memory ran out.
RIPBlitContext* RIPBlitContextCreate(RIPImage* dst, const RIPRect& clip, const RIPRect& dstRect, RIPImage* src,
                                     const RIPRect& srcRect, std::uint32_t flags, int* outEmpty);
void RIPBlitContextFree(RIPBlitContext* ctx);

// Picks the kernel row (direct, channel or through a working format) and the
// band callbacks: 1 ready, 0 refused.
int RIPBlitContextBegin(RIPBlitContext* ctx, RIPBandCallbacks* callbacks, std::uint32_t mergeMode,
                        std::uint32_t channelSelect);
int RIPBlitContextSetupConversion(RIPImage* dst, RIPImage* src, RIPBlitContext* ctx);
// Releases the stretch and conversion buffers; safe to call twice.
void RIPBlitContextEnd(RIPBlitContext* ctx);
// Takes the three kernels of the row: columns 0, 1, 3, or 2, 4, 5 under a constant opacity.
void RIPBlitChooseKernels(RIPBlitContext* ctx);
// Makes the stretch buffers and the row producer for the context's stretch
// mode: 1, or 0 without memory.
int RIPBlitPrepareStretch(RIPBlitContext* ctx);

// Band callbacks (the context is a RIPBlitContext).
int RIPBlitContextBeginBandDirect(void* ctx, const RIPRect& band);
int RIPBlitContextBeginBand(void* ctx, const RIPRect& band);
int RIPBlitContextNextRow(void* ctx);
void RIPBlitContextEndBand(void* ctx);
int RIPBlitBandCopy(void* ctx, std::int32_t x, std::int32_t y, std::uint32_t n,
                    const kernels::RIPKernelCoverage* coverage);
int RIPBlitBandKernel(void* ctx, std::int32_t x, std::int32_t y, std::uint32_t n,
                      const kernels::RIPKernelCoverage* coverage);
int RIPBlitRowDirect(void* ctx, std::int32_t x, std::int32_t y, std::uint32_t n,
                     const kernels::RIPKernelCoverage* coverage);
int RIPBlitRowConverted(void* ctx, std::int32_t x, std::int32_t y, std::uint32_t n,
                        const kernels::RIPKernelCoverage* coverage);

// The working pixels of source columns x0..x1 of a row (clamped to the
// image), converted when the context converts, from the tiles that hold
// them: a pointer to column x0 and its bit offset, or null on a failed lock
// or conversion.
const std::uint8_t* RIPFetchSourceRun(RIPBlitContext* ctx, std::int32_t row, std::int32_t x0, std::int32_t x1,
                                      std::uint32_t* bitOffset);
// The same for any image: converted through block when it has a converter
// (into workingBits-bit pixels), gathered in work when the run is not one
// block's row as it stands.
const std::uint8_t* RIPFetchRun(const RIPImage* image, RIPConverterBlock& block, std::int32_t workingBits,
                                std::vector<std::uint8_t>& work, std::int32_t row, std::int32_t x0, std::int32_t x1,
                                std::uint32_t* bitOffset);

// Row producers.
int RIPStretchRowsNearest(RIPBlitContext* ctx, std::int32_t y);
int RIPStretchRowsSmooth(RIPBlitContext* ctx, std::int32_t y);
// The smooth producer gated by the source's alpha plane: only marked source
// pixels contribute, and an output pixel none reaches keeps what its column
// received last (the row below it; 0 below the clip's first row).
int RIPStretchRowsSmoothAlpha(RIPBlitContext* ctx, std::int32_t y);

}  // namespace raster::blit
