// The filter context a decoder module works on: the record the image reader
// fills and hands to the module's FilterEntry, through which the module
// reads the mapped file and delivers the frame's header and pixel rows.
// Decoder modules include this header and nothing else of the library.
//
// The fields keep the record's historical order; on the 32-bit build every
// pointer and word is 4 bytes and each field sits at its historical offset
// (checked below), the 64-bit build widens the pointers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace imageload {

struct FilterCallbackBlock;

// Format codes (FilterContext::format).
inline constexpr std::uint32_t kFormatBmp = 769;
inline constexpr std::uint32_t kFormatPcx = 770;
inline constexpr std::uint32_t kFormatTga = 771;
inline constexpr std::uint32_t kFormatTiff = 772;
inline constexpr std::uint32_t kFormatGif = 773;
inline constexpr std::uint32_t kFormatJpeg = 774;
inline constexpr std::uint32_t kFormatWavelet = 793;
inline constexpr std::uint32_t kFormatPng = 802;
inline constexpr std::uint32_t kFormatAvi = 1536;
inline constexpr std::uint32_t kFormatAnimatedGif = 1558;

// FilterContext::error.
inline constexpr std::uint32_t kErrorViewNotMapped = 24849;
inline constexpr std::uint32_t kErrorMappingNotCreated = 24851;
inline constexpr std::uint32_t kErrorStoppedByProgress = 24862;

// Module entry codes.
inline constexpr std::int32_t kCodeReadPixels = 1;
inline constexpr std::int32_t kCodeReadHeader = 3;

inline constexpr std::uint32_t kSiblingContextSize = 724;
inline constexpr std::uint32_t kSiblingContextVersion = 32;

struct FilterContext;

// The row callback: rowCount rows of width pixels in the frame's own layout,
// rows stride bytes apart, the first being image row y (rows count from the
// bottom); owner is the context's `reader`. 1 to go on, 0 to stop.
using FilterRowFn = std::int32_t (*)(const std::uint8_t* rows, std::int32_t y, std::int32_t x,
                                     std::int32_t rowCount, std::int32_t width, std::int32_t stride,
                                     std::int32_t unused, void* owner);
using FilterProgressFn = std::int32_t (*)(std::int32_t value, std::uint32_t word);
using FilterWriteFn = std::int32_t (*)(FilterContext* context, const void* buffer, std::uint32_t count,
                                       std::int32_t progressValue);
using FilterRowReadFn = std::int32_t (*)(FilterContext* context, std::int32_t row, void* buffer);
using FilterSeekFn = std::int32_t (*)(FilterContext* context, std::int32_t distance, std::int32_t method);
using FilterReadFn = std::int32_t (*)(FilterContext* context, void* buffer, std::uint32_t count);
// Forwarding entries whose arguments are machine words passed on unchanged.
using FilterForward0 = std::intptr_t (*)();
using FilterForward1 = std::intptr_t (*)(std::intptr_t);
using FilterForward8 = std::intptr_t (*)(std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                                         std::intptr_t, std::intptr_t, std::intptr_t);
using FilterForward9 = std::intptr_t (*)(std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                                         std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t);

// The module entry: FilterEntry(code, context) and FilterEntry01 alike.
using FilterEntryFn = std::int32_t (*)(std::int32_t code, FilterContext* context);

struct FilterContext {
    std::uint32_t size = 0;     // kSiblingContextSize
    std::uint32_t version = 0;  // kSiblingContextVersion
    std::uint32_t reserved8 = 0;
    std::uint16_t frameCount = 0;  // written by the GIF module: the images in the file
    std::uint16_t reserved14 = 0;
    std::uint32_t frameNumber = 0;  // the frame to read, 1-based
    std::uint32_t reserved20 = 0;
    std::int32_t width = 0;  // the frame's, from the header
    std::int32_t height = 0;
    std::uint32_t bitsPerPixel = 0;  // 1, 4, 8 or 24
    std::uint32_t reserved36 = 0;
    std::uint32_t xResolution = 0;  // pixels per kilometre
    std::uint32_t yResolution = 0;
    std::uint32_t reserved48 = 0;
    char* fileName = nullptr;  // heap copy, zero-terminated
    std::uint32_t reserved56 = 0;
    std::intptr_t file = -1;  // the open file's descriptor
    std::uint32_t reserved64 = 0;
    const std::uint8_t* view = nullptr;  // the whole file, mapped
    std::uint32_t reserved72 = 0;
    std::uint8_t* rowBuffer = nullptr;  // the default row callback's buffer
    std::uint8_t reserved80[32] = {};
    std::uint32_t format = 0;
    std::uint32_t error = 0;
    std::uint32_t reserved120 = 0;
    std::uint32_t paletteCount = 0;
    std::uint8_t* palette = nullptr;  // paletteCount entries of blue, green, red
    std::uint32_t fileSize = 0;
    std::uint8_t reserved136[24] = {};
    void* moduleBuffer = nullptr;  // the module's, released with free with the context
    std::uint8_t reserved164[40] = {};
    char* helpDirectory = nullptr;  // the module's, read by the help-file callback
    std::uint8_t reserved208[40] = {};
    void* reader = nullptr;  // the owning reader, handed back to the row callback
    std::uint32_t progressWord = 0;
    char* directory = nullptr;
    FilterCallbackBlock* callbacks = nullptr;
    std::uint8_t reserved264[60] = {};
    FilterForward8 compress = nullptr;  // forwarding entries of the callback set
    FilterForward9 decompress = nullptr;
    FilterForward0 compressionInit = nullptr;
    FilterForward1 compressionTerm = nullptr;
    std::uint32_t reserved340 = 0;
    FilterProgressFn progress = nullptr;  // the module's
    std::uint8_t reserved348[28] = {};
    FilterWriteFn write = nullptr;
    FilterRowReadFn rowRead = nullptr;
    FilterSeekFn seek = nullptr;
    FilterReadFn read = nullptr;
    FilterRowFn rowCallback = nullptr;
    // Why the last call failed, zero-terminated, when our own modules can say
    // (other modules leave it empty); the reader shows it with the file name.
    char moduleMessage[256] = {};
    std::uint8_t reserved652[72] = {};
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(FilterContext) == kSiblingContextSize, "the sibling context is 724 bytes");
static_assert(offsetof(FilterContext, frameCount) == 12 && offsetof(FilterContext, frameNumber) == 16);
static_assert(offsetof(FilterContext, fileName) == 52 && offsetof(FilterContext, view) == 68);
static_assert(offsetof(FilterContext, format) == 112 && offsetof(FilterContext, palette) == 128);
static_assert(offsetof(FilterContext, callbacks) == 260 && offsetof(FilterContext, rowCallback) == 392);
static_assert(offsetof(FilterContext, moduleMessage) == 396);
#endif

}  // namespace imageload
