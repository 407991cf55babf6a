// The callback block a decoder module finds through its filter context:
// help, a directory query, and the raster operations of a separate
// callback-set library ("zkfilt.cbs"), reached through forwarding entries
// that are installed only when that library loads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "imageload/filter_context.h"

namespace imageload {

inline constexpr std::uint32_t kCallbackBlockSize = 852;
inline constexpr const char* kCallbackSetName = "zkfilt.cbs";
inline constexpr const char* kHelpFileName = "tvdflt80.hlp";
inline constexpr std::uint32_t kHelpResourceType = 4096;

using HelpFileNameFn = std::int32_t (*)(std::int32_t unused, char* buffer, std::int32_t unused2);
using ContextHelpFn = std::int32_t (*)(const void* instance, const char* helpFile, std::int32_t unused,
                                       const std::uintptr_t* helpInfo, std::uint32_t id);
using ContextMenuHelpFn = std::int32_t (*)(const void* instance, const char* helpFile, const void* window,
                                           std::uint32_t point, std::uint32_t id);
using DirectoryFn = std::int32_t (*)(char* buffer, std::int32_t length);

using FilterForward2 = std::intptr_t (*)(std::intptr_t, std::intptr_t);
using FilterForward3 = std::intptr_t (*)(std::intptr_t, std::intptr_t, std::intptr_t);
using FilterForward4 = std::intptr_t (*)(std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t);
using FilterForward5 = std::intptr_t (*)(std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t);
using FilterForward6 = std::intptr_t (*)(std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                                         std::intptr_t);
using FilterForward7 = std::intptr_t (*)(std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                                         std::intptr_t, std::intptr_t);
using FilterForward10 = std::intptr_t (*)(std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                                          std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t);
using FilterForward14 = std::intptr_t (*)(std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                                          std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                                          std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t);

// Zeroed, then the entries below; on the 32-bit build at their historical
// offsets (checked below).
struct FilterCallbackBlock {
    std::uint8_t reserved0[20] = {};
    HelpFileNameFn helpFileName = nullptr;
    std::uint8_t reserved24[184] = {};
    ContextHelpFn contextHelp = nullptr;
    std::uint32_t reserved212 = 0;
    ContextMenuHelpFn contextMenuHelp = nullptr;
    std::uint8_t reserved220[8] = {};
    DirectoryFn directory = nullptr;
    std::uint8_t reserved232[76] = {};
    FilterForward2 setDevRectFromImage = nullptr;
    FilterForward5 setLogRect = nullptr;
    std::uint32_t reserved316 = 0;
    FilterForward6 getImageData = nullptr;
    FilterForward1 destroyImage = nullptr;
    std::uint32_t reserved328 = 0;
    FilterForward9 convertImageToImage = nullptr;
    FilterForward8 createImageEx = nullptr;
    FilterForward10 createPalettedImageEx = nullptr;
    FilterForward1 createImagePtrToDIB = nullptr;
    FilterForward0 createRS = nullptr;
    FilterForward1 destroyRS = nullptr;
    std::uint32_t reserved356 = 0;
    FilterForward0 initializeDisplay = nullptr;
    std::uint8_t reserved364[8] = {};
    FilterForward3 setDevOriginPoint = nullptr;
    FilterForward3 setLogOriginPoint = nullptr;
    FilterForward5 setMapMode = nullptr;
    FilterForward7 solidRectangle = nullptr;
    FilterForward5 displayImageRect = nullptr;
    FilterForward14 stretchBlitInContext = nullptr;
    FilterForward3 getOptPaletteRImage = nullptr;
    std::uint32_t reserved400 = 0;
    FilterForward1 duplicatePalette = nullptr;
    FilterForward1 destroyPalette = nullptr;
    FilterForward8 setImageData = nullptr;
    FilterForward4 getNearestPalIndex = nullptr;
    std::uint8_t reserved420[160] = {};
    FilterForward2 createPalette = nullptr;
    FilterForward5 setPaletteEntry = nullptr;
    std::uint8_t reserved588[264] = {};
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(FilterCallbackBlock) == kCallbackBlockSize, "the callback block is 852 bytes");
static_assert(offsetof(FilterCallbackBlock, contextMenuHelp) == 216 && offsetof(FilterCallbackBlock, directory) == 228);
static_assert(offsetof(FilterCallbackBlock, setDevRectFromImage) == 308);
static_assert(offsetof(FilterCallbackBlock, getNearestPalIndex) == 416);
static_assert(offsetof(FilterCallbackBlock, setPaletteEntry) == 584);
#endif

// Makes the context the current one (read by the help-file entry), gives it
// a new zeroed callback block with the help and directory entries (freeing
// any block it had), and sets its file callbacks and the default row
// callback. 1, or 0 when out of memory.
std::int32_t InitFilterCallbacks(FilterContext* context);
// Frees the context's callback block.
void FreeFilterCallbacks(FilterContext* context);
// A context about to be released stops being the current one.
void ForgetFilterContext(const FilterContext* context);

// Loads the callback set by file name from the callback folder, resolves its
// 30 entries, installs the forwarding entries into the context's block and
// into the context, and answers what its "CB_RIPInitialize" answers. A
// library that does not load, lacks an entry or does not initialise is
// released: 0.
std::int32_t LoadRIPCallbackSet(FilterContext* context);
// Shuts the callback set down and releases it: the release's result, or 0
// when none is loaded.
std::int32_t UnloadRIPCallbackSet();

// The folder the callback set is loaded from ("" by default: the file name
// alone, for the loader's search); tests point it elsewhere.
void SetCallbackSetFolder(const std::string& folder);

// The entries themselves, for whoever checks them.
std::int32_t HelpFileName(std::int32_t unused, char* buffer, std::int32_t unused2);
std::int32_t ContextHelp(const void* instance, const char* helpFile, std::int32_t unused,
                         const std::uintptr_t* helpInfo, std::uint32_t id);
std::int32_t ContextMenuHelp(const void* instance, const char* helpFile, const void* window, std::uint32_t point,
                             std::uint32_t id);
std::int32_t DirectoryQuery(char* buffer, std::int32_t length);

// The context the callbacks were last set up for (null when none), and
// making one current before a module is called.
FilterContext* CurrentFilterContext();
void MakeFilterContextCurrent(FilterContext* context);

}  // namespace imageload
