// The callback-set library: loaded by file name, its 30 entries resolved in
// a fixed order, and forwarding entries installed that pass their arguments
// on unchanged. Its handle and entries are process-wide: one reader at a
// time uses them (the reader's guard sees to that).
#include <array>
#include <string>

#include "imageload/filter_callbacks.h"
#include "platform/libraries.h"

namespace imageload {
namespace {

enum Entry : std::size_t {
    kCreateImageEx, kCreateImagePtrToDIB, kCreatePalette, kCreatePalettedImageEx, kCreateRS,
    kConvertImageToImage, kDestroyImage, kDestroyPalette, kDestroyRS, kDisplayImageRect,
    kDuplicatePalette, kGetImageData, kGetNearestPalIndex, kGetOptPaletteRImage, kInitializeDisplay,
    kSetDevRectFromImage, kSetImageData, kSetDevOriginPoint, kSetLogOriginPoint, kSetLogRect,
    kSetMapMode, kSetPaletteEntry, kSolidRectangle, kStretchBlitInContext, kInitialize,
    kShutdown, kCompressionInit, kCompressionTerm, kCompress, kDecompress, kEntryCount
};

constexpr std::array<const char*, kEntryCount> kEntryNames = {
    "CB_RIPCreateImageEx", "CB_RIPCreateImagePtrToDIB", "CB_RIPCreatePalette", "CB_RIPCreatePalettedImageEx",
    "CB_RIPCreateRS", "CB_RIPConvertImageToImage", "CB_RIPDestroyImage", "CB_RIPDestroyPalette",
    "CB_RIPDestroyRS", "CB_RIPDisplayImageRect", "CB_RIPDuplicatePalette", "CB_RIPGetImageData",
    "CB_RIPGetNearestPalIndex", "CB_RIPGetOptPaletteRImage", "CB_RIPInitializeDisplay",
    "CB_RIPSetDevRectFromImage", "CB_RIPSetImageData", "CB_RIPSetDevOriginPoint", "CB_RIPSetLogOriginPoint",
    "CB_RIPSetLogRect", "CB_RIPSetMapMode", "CB_RIPSetPaletteEntry", "CB_RIPSolidRectangle",
    "CB_RIPStretchBlitInContext", "CB_RIPInitialize", "CB_RIPShutdown", "CB_RIPCompressionInit",
    "CB_RIPCompressionTerm", "CB_RIPCompress", "CB_RIPDecompress"};

void* g_library = nullptr;
std::array<void*, kEntryCount> g_entries{};
std::string g_folder;

// One forwarding entry per resolved entry: the same arguments, in the same
// order, and the entry's result.
template <Entry E, class... Args>
std::intptr_t Forward(Args... args) {
    return reinterpret_cast<std::intptr_t (*)(Args...)>(g_entries[E])(args...);
}

using W = std::intptr_t;

void InstallForwarders(FilterContext* context) {
    FilterCallbackBlock* b = context->callbacks;
    if (b) {
        b->setDevRectFromImage = Forward<kSetDevRectFromImage, W, W>;
        b->setLogRect = Forward<kSetLogRect, W, W, W, W, W>;
        b->getImageData = Forward<kGetImageData, W, W, W, W, W, W>;
        b->destroyImage = Forward<kDestroyImage, W>;
        b->convertImageToImage = Forward<kConvertImageToImage, W, W, W, W, W, W, W, W, W>;
        b->createImageEx = Forward<kCreateImageEx, W, W, W, W, W, W, W, W>;
        b->createPalettedImageEx = Forward<kCreatePalettedImageEx, W, W, W, W, W, W, W, W, W, W>;
        b->createImagePtrToDIB = Forward<kCreateImagePtrToDIB, W>;
        b->createRS = Forward<kCreateRS>;
        b->destroyRS = Forward<kDestroyRS, W>;
        b->initializeDisplay = Forward<kInitializeDisplay>;
        b->setDevOriginPoint = Forward<kSetDevOriginPoint, W, W, W>;
        b->setLogOriginPoint = Forward<kSetLogOriginPoint, W, W, W>;
        b->setMapMode = Forward<kSetMapMode, W, W, W, W, W>;
        b->solidRectangle = Forward<kSolidRectangle, W, W, W, W, W, W, W>;
        b->displayImageRect = Forward<kDisplayImageRect, W, W, W, W, W>;
        b->stretchBlitInContext = Forward<kStretchBlitInContext, W, W, W, W, W, W, W, W, W, W, W, W, W, W>;
        b->getOptPaletteRImage = Forward<kGetOptPaletteRImage, W, W, W>;
        b->duplicatePalette = Forward<kDuplicatePalette, W>;
        b->destroyPalette = Forward<kDestroyPalette, W>;
        b->setImageData = Forward<kSetImageData, W, W, W, W, W, W, W, W>;
        b->getNearestPalIndex = Forward<kGetNearestPalIndex, W, W, W, W>;
        b->createPalette = Forward<kCreatePalette, W, W>;
        b->setPaletteEntry = Forward<kSetPaletteEntry, W, W, W, W, W>;
    }
    context->compress = Forward<kCompress, W, W, W, W, W, W, W, W>;
    context->decompress = Forward<kDecompress, W, W, W, W, W, W, W, W, W>;
    context->compressionInit = Forward<kCompressionInit>;
    context->compressionTerm = Forward<kCompressionTerm, W>;
}

// Forwarders of a set that did not initialise would call into nothing.
void ClearForwarders(FilterContext* context) {
    if (FilterCallbackBlock* b = context->callbacks) {
        FilterCallbackBlock cleared{};
        cleared.helpFileName = b->helpFileName;
        cleared.contextHelp = b->contextHelp;
        cleared.contextMenuHelp = b->contextMenuHelp;
        cleared.directory = b->directory;
        *b = cleared;
    }
    context->compress = nullptr;
    context->decompress = nullptr;
    context->compressionInit = nullptr;
    context->compressionTerm = nullptr;
}

void Release() {
    platform::FreeLibrary(g_library);
    g_library = nullptr;
    g_entries.fill(nullptr);
}

}  // namespace

void SetCallbackSetFolder(const std::string& folder) {
    g_folder = folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

std::int32_t LoadRIPCallbackSet(FilterContext* context) {
    if (!context) return 0;
    if (!g_library) g_library = platform::LoadLibrary(g_folder + kCallbackSetName);
    if (!g_library) return 0;
    for (std::size_t i = 0; i < kEntryCount; ++i) {
        g_entries[i] = platform::LibraryEntry(g_library, kEntryNames[i]);
        if (!g_entries[i]) {
            Release();
            return 0;
        }
    }
    InstallForwarders(context);
    const std::int32_t result = static_cast<std::int32_t>(reinterpret_cast<std::int32_t (*)()>(g_entries[kInitialize])());
    if (result == 0) {
        ClearForwarders(context);
        Release();
    }
    return result;
}

std::int32_t UnloadRIPCallbackSet() {
    if (!g_library) return 0;
    reinterpret_cast<std::int32_t (*)()>(g_entries[kShutdown])();
    const std::int32_t result = platform::FreeLibrary(g_library);
    g_library = nullptr;
    g_entries.fill(nullptr);
    return result;
}

}  // namespace imageload
