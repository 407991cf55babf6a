// RIPRasterState: what accompanies a drawing or conversion operation (merge
// mode, opacity, stretch and dither methods, two colours, adjustments, the
// logical-to-device mapping, progress reporting and the CMYK-to-RGB options).
// States are pooled: a destroyed state waits, with its adjustment block, to
// be handed out again.
#pragma once

#include <cstdint>

#include "colour/color_record.h"
#include "colour/kinds_table.h"
#include "raster/rect.h"

namespace raster {

struct RIPImage;

// Progress: (position, total, context) -> nonzero to go on.
using RIPProgressCallback = int (*)(std::int32_t position, std::int32_t total, void* context);

// Optional records a state owns and destroys with itself.
struct RIPPatternHolder {
    std::int32_t words[7] = {};
    RIPImage* pattern = nullptr;  // destroyed with the holder
};
struct RIPMaskHolder {
    std::int32_t words[2] = {};
    RIPImage* image = nullptr;  // its mask is destroyed and detached, then the image destroyed
};

// Adjustment parameters, one block per state (pointer-free, 4168 bytes).
struct RIPAdjustParams {
    std::int32_t mode = 1;
    std::int32_t mode2 = 0;
    std::int32_t value = 0;     // modes 3 to 6
    std::int32_t percent1 = 0;  // -100..100, modes 4 to 7
    std::int32_t percent2 = 0;
    std::int32_t value2 = 0;  // modes 3 and 7
    std::int32_t level = 50;
    colour::ColorRecord colour1;  // model 5, palette kind 5, black
    colour::ColorRecord colour2;
    std::int32_t value3 = 0;  // modes 8 and 9
    std::int32_t extra = 0;
    std::int32_t count = 1;  // entries in use, at most 256
    colour::ColorRecord entries[256];
    std::uint32_t values[256] = {};  // paired with the entries; by default each entry's index
    std::int32_t cleared = 0;
    std::int32_t last = 0;
};
static_assert(sizeof(RIPAdjustParams) == 4168, "the adjustment block has no padding");

// What RIPAdjustParamsSet applies; entries and values, when given, hold count items.
struct RIPAdjustSettings {
    std::int32_t mode = 1;
    std::int32_t mode2 = 0;
    std::int32_t count = 1;
    const colour::ColorRecord* entries = nullptr;
    const std::uint32_t* values = nullptr;
    const colour::ColorRecord* colour1 = nullptr;  // null: black
    const colour::ColorRecord* colour2 = nullptr;
    std::int32_t value = 0;
    std::int32_t percent1 = 0;  // clamped to -100..100
    std::int32_t percent2 = 0;
    std::int32_t value2 = 0;
    std::int32_t level = 50;
    std::int32_t value3 = 0;
};

// Null when count is outside 0..256 or memory runs out.
RIPAdjustParams* RIPAdjustParamsCreate(const RIPAdjustSettings& settings);
// Resets the defaults, then applies the settings: 1, or 0 for null or a bad count.
int RIPAdjustParamsInit(RIPAdjustParams* block, const RIPAdjustSettings& settings);
int RIPAdjustParamsSet(RIPAdjustParams* block, const RIPAdjustSettings& settings);
int RIPAdjustParamsDestroy(RIPAdjustParams* block);

// Axis modes of the mapping, from logical extent a and device extent b.
enum RIPAxisMode : std::int32_t {
    kAxisCollapsed = 0,          // a or b is 0: every point goes to the device origin
    kAxisIdentity = 1,           // a = b
    kAxisMirror = 2,             // a = -b
    kAxisScaled = 3,             // a > 0, b > 0
    kAxisScaledFlipDevice = 4,   // a > 0, b < 0
    kAxisScaledFlipLogical = 5,  // a < 0, b > 0
    kAxisScaledFlipBoth = 6,     // a < 0, b < 0
};

inline constexpr std::int32_t kStretchNearest = 1;
inline constexpr std::int32_t kStretchSmooth = 2;

struct RIPRasterState {
    RIPPatternHolder* patternHolder = nullptr;
    RIPMaskHolder* maskHolder = nullptr;
    colour::ColorRecord colourA;
    colour::ColorRecord colourB;
    std::int32_t ditherMethod = 3;
    std::int32_t stretchMode = kStretchNearest;
    std::uint16_t mergeMode = 0;
    std::uint16_t reserved = 0;
    std::uint8_t opacity = 255;  // 255 opaque
    RIPAdjustParams* adjust = nullptr;
    RIPPoint currentPoint;  // the last point RIPLogToDev mapped
    std::int32_t logicalExtentX = 1;
    std::int32_t logicalExtentY = 1;
    std::int32_t deviceExtentX = 1;
    std::int32_t deviceExtentY = 1;
    std::int32_t axisModeX = kAxisIdentity;
    std::int32_t axisModeY = kAxisIdentity;
    double scaleX = 1.0;  // |logical / device|
    double scaleY = 1.0;
    double inverseScaleX = 1.0;  // |device / logical|
    double inverseScaleY = 1.0;
    RIPPoint logicalOrigin;
    RIPPoint deviceOrigin;
    RIPProgressCallback progressCallback = nullptr;
    void* progressContext = nullptr;
    // 1: the band runner splits a mask image's bytes into opaque and partial runs.
    std::int32_t scanOption = 1;
    const colour::ClrKindsTable* conversionKinds = nullptr;  // for RIPCMYKRowsToRGB; null: defaults
    std::int32_t cmykToRGBMode = 1;  // 0 plain, 1 managed, 2 through the printer, 3 proofed
};

// A state with the defaults, from the pool when it has one; null without memory.
RIPRasterState* RIPCreateRS();
// Destroys the holders and returns the state to the pool (freed when the pool is full): 1.
int RIPDestroyRS(RIPRasterState* state);
// Destroys the holders and the adjustment block and frees the state: 1.
int RIPFreeRS(RIPRasterState* state);
// States waiting in the pool, at most kRIPStatePoolSize.
inline constexpr int kRIPStatePoolSize = 10;
int RIPPooledStateCount();

// Each setter answers the value it replaced: 36, 255 and 0 for a null state.
std::int32_t RIPSetMergeMode(RIPRasterState* state, std::int32_t mode);
std::int32_t RIPSetRSMode(RIPRasterState* state, std::uint8_t opacity);
std::int32_t RIPSetStretchMode(RIPRasterState* state, std::int32_t mode);
// The opacity as a signed byte: -1 for 255 and for a null state.
std::int8_t RIPGetRSMode(const RIPRasterState* state);

}  // namespace raster
