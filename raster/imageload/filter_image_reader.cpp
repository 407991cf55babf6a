// The image reader: the file mapped, its format told, the decoder module
// loaded and driven through the filter context, one frame at a time.
#include "imageload/filter_image_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <vector>

#include "imageload/filter_callbacks.h"
#include "imageload/image_handler.h"
#include "platform/libraries.h"
#include "platform/messages.h"
#include "raster/palette.h"

namespace imageload {
namespace {

// The callback-set entries and the current context are process-wide: one
// reader works at a time.
std::recursive_mutex& ReaderGuard() {
    static std::recursive_mutex guard;
    return guard;
}

std::string& ModuleFolderSetting() {
    static std::string folder;
    return folder;
}

char* HeapCopy(const std::string& text) {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

bool IsGreyRamp(const std::uint8_t* entries, std::uint32_t count) {
    if (count != 256 || !entries) return false;
    for (std::uint32_t i = 0; i < 256; ++i) {
        const std::uint8_t* e = entries + 3 * i;
        if (e[0] != i || e[1] != i || e[2] != i) return false;
    }
    return true;
}

bool EntryIs(const std::uint8_t* e, std::uint8_t v) { return e[0] == v && e[1] == v && e[2] == v; }

}  // namespace

void FilterImageReader::SetModuleFolder(const std::string& folder) {
    std::lock_guard lock(ReaderGuard());
    ModuleFolderSetting() = folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

std::string FilterImageReader::ModuleFolder() {
    std::lock_guard lock(ReaderGuard());
    if (!ModuleFolderSetting().empty()) return ModuleFolderSetting();
    const std::string own = platform::OwnFolder();
    if (!own.empty() && ::access((own + "ZKPNG.flt").c_str(), F_OK) == 0) return own;
#ifdef SVGFILTER_FILTER_MODULES_BUILT
    return SVGFILTER_FILTER_MODULES_BUILT "/";
#else
    return own;
#endif
}

FilterImageReader::FilterImageReader() {
    // The cache is made on first use; readers on several threads make it once.
    std::lock_guard lock(ReaderGuard());
    ImageHandler::Instance();
}

FilterImageReader::~FilterImageReader() {
    std::lock_guard lock(ReaderGuard());
    CloseMapping();
    ReleaseContext();
    delete frameRect_;
    std::free(directory_);
    raster::RIPDestroyImage(target_);
    raster::RIPDestroyImage(second_);
    UnloadModule();
}

int FilterImageReader::AllocContext() {
    ReleaseContext();
    context_ = new (std::nothrow) FilterContext{};
    if (!context_) return 0;
    context_->size = kSiblingContextSize;
    context_->version = kSiblingContextVersion;
    context_->reader = this;
    std::free(directory_);
    directory_ = HeapCopy(ImageHandler::Instance().Directory());
    context_->directory = directory_;
    if (!InitFilterCallbacks(context_)) return 0;
    context_->rowCallback = RowSink;
    return 1;
}

void FilterImageReader::ReleaseContext() {
    if (!context_) return;
    ForgetFilterContext(context_);
    FreeFilterCallbacks(context_);
    std::free(context_->fileName);
    std::free(context_->rowBuffer);
    std::free(context_->moduleBuffer);
    delete context_;
    context_ = nullptr;
}

int FilterImageReader::MapFile() {
    const int fd = ::open(context_->fileName, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0 ||
        static_cast<std::uint64_t>(status.st_size) > 0xFFFFFFFFu) {
        ::close(fd);
        context_->error = kErrorMappingNotCreated;
        return 0;
    }
    void* view = ::mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (view == MAP_FAILED) {
        ::close(fd);
        context_->error = kErrorViewNotMapped;
        return 0;
    }
    context_->file = fd;
    context_->fileSize = static_cast<std::uint32_t>(status.st_size);
    context_->view = static_cast<const std::uint8_t*>(view);
    return 1;
}

void FilterImageReader::CloseMapping() {
    if (!context_) return;
    if (context_->view) ::munmap(const_cast<std::uint8_t*>(context_->view), context_->fileSize);
    if (context_->file >= 0) ::close(static_cast<int>(context_->file));
    context_->view = nullptr;
    context_->file = -1;
}

int FilterImageReader::DetectFormat() {
    const std::span<const std::uint8_t> bytes(context_->view, context_->fileSize);
    bool corruptGif = false;
    std::uint32_t format = DetectFormatByExtension(context_->fileName, bytes, &corruptGif);
    if (corruptGif) {
        platform::ShowMessage(platform::MessageKind::Error, "", kCorruptGifMessage);
        return 0;
    }
    if (format == 0) format = DetectFormatBySignature(bytes);
    if (format == kFormatGif) gifImages_ = CountGifImages(bytes) > 0 ? 1 : 0;
    context_->format = format;
    return format != 0 ? 1 : 0;
}

int FilterImageReader::LoadModule() {
    const char* file = ModuleFileForFormat(context_->format);
    if (!file) return 0;
    moduleFile_ = file;
    module_ = platform::LoadLibrary(ModuleFolder() + moduleFile_);
    if (!module_) return 0;
    const char* entryName = "FilterEntry";
    if (context_->format == kFormatAnimatedGif) {
        if (LoadRIPCallbackSet(context_)) {
            callbackSetLoaded_ = true;
            entryName = "FilterEntry01";
        } else {
            context_->format = kFormatGif;
        }
    }
    entry_ = reinterpret_cast<FilterEntryFn>(platform::LibraryEntry(module_, entryName));
    if (!entry_) {
        UnloadModule();
        return 0;
    }
    return 1;
}

void FilterImageReader::UnloadModule() {
    if (callbackSetLoaded_) UnloadRIPCallbackSet();
    callbackSetLoaded_ = false;
    platform::FreeLibrary(module_);
    module_ = nullptr;
    entry_ = nullptr;
}

std::int32_t FilterImageReader::CallModule(std::int32_t code) {
    if (!entry_ || !context_) return 0;
    MakeFilterContextCurrent(context_);
    context_->moduleMessage[0] = '\0';
    const std::int32_t result = entry_(code, context_);
    // A refused picture says why, in one line with its file's name.
    context_->moduleMessage[sizeof context_->moduleMessage - 1] = '\0';
    if (result == 0 && context_->moduleMessage[0] != '\0') {
        platform::ShowMessage(platform::MessageKind::Warning, "",
                              std::string(context_->fileName ? context_->fileName : "") + ": " +
                                  context_->moduleMessage);
    }
    return result;
}

int FilterImageReader::Open(const std::string& fileName, std::uint32_t format) {
    std::lock_guard lock(ReaderGuard());
    auto fail = [this] {
        CloseMapping();
        UnloadModule();
        ReleaseContext();
        return 0;
    };
    if (!AllocContext()) return fail();
    context_->format = format;
    context_->fileName = HeapCopy(fileName);
    if (!context_->fileName || !MapFile()) return fail();
    if (format == 0 && !DetectFormat()) return fail();
    if (!LoadModule()) return fail();
    if (!frameRect_) frameRect_ = new platform::Rect{};
    context_->frameNumber = 1;
    if (!ReadHeader()) return fail();
    return 1;
}

int FilterImageReader::ReadHeader() {
    if (!CallModule(kCodeReadHeader)) return 0;
    *frameRect_ = {0, 0, context_->width, context_->height};
    return 1;
}

int FilterImageReader::ReadPixels() { return CallModule(kCodeReadPixels); }

int FilterImageReader::ReadFrame(std::uint32_t n) {
    std::lock_guard lock(ReaderGuard());
    if (!context_ || !entry_) return 0;
    context_->frameNumber = n;
    if (!ReadHeader() || !CreateTargetImage()) return 0;
    if (!ReadPixels()) return 0;
    if (target_->type == raster::kTypePaletted && target_->bitsPerPixel == 4) return WidenFourBitFrame();
    return 1;
}

raster::RIPImage* FilterImageReader::TakeTarget() {
    raster::RIPImage* taken = target_;
    target_ = nullptr;
    return taken;
}

int FilterImageReader::CreateTargetImage() {
    raster::RIPDestroyImage(target_);
    target_ = nullptr;
    invertBits_ = false;
    const FilterContext& c = *context_;
    if (c.width <= 0 || c.height <= 0) return 0;
    const std::uint8_t* entries = c.palette;
    std::uint32_t count = entries ? c.paletteCount : 0;
    std::int32_t bits = static_cast<std::int32_t>(c.bitsPerPixel);
    auto plain = [&](std::int32_t type) {
        return raster::RIPCreateImageEx(type, c.width, c.height, c.xResolution, c.yResolution, raster::kAllowTiling,
                                        nullptr, 0);
    };
    switch (bits) {
        case 1:
            // Bilevel images are black (0) and white (1): a frame of those two
            // colours in either order is one, any other pair keeps its palette.
            if (count < 2 || (EntryIs(entries, 0) && EntryIs(entries + 3, 255))) {
                target_ = plain(raster::kTypeBilevel);
                return target_ ? 1 : 0;
            }
            if (count == 2 && EntryIs(entries, 255) && EntryIs(entries + 3, 0)) {
                target_ = plain(raster::kTypeBilevel);
                invertBits_ = true;
                return target_ ? 1 : 0;
            }
            break;
        case 24:
            target_ = plain(raster::kTypeRGB24);
            return target_ ? 1 : 0;
        case 8:
            if (IsGreyRamp(entries, count)) {
                target_ = plain(raster::kTypeGrey8);
                return target_ ? 1 : 0;
            }
            break;
        case 4:
            break;
        default:
            return 0;
    }
    if (count < 1 || count > (1u << bits)) return 0;
    raster::RIPPalette* palette = raster::RIPCreatePalette(raster::kPaletteCustom2, static_cast<int>(count));
    if (!palette) return 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* e = entries + 3 * i;
        raster::RIPSetPaletteEntry(palette, static_cast<int>(i), e[2], e[1], e[0]);
    }
    target_ = raster::RIPCreatePalettedImageEx(palette, c.width, c.height, bits, 1, c.xResolution, c.yResolution,
                                               raster::kAllowTiling, nullptr, 0);
    if (!target_) {
        raster::RIPDestroyPalette(palette);
        return 0;
    }
    // The frame's image owns the palette it was made with.
    target_->flags &= ~raster::kImagePaletteBorrowed;
    return 1;
}

std::int32_t FilterImageReader::RowSink(const std::uint8_t* rows, std::int32_t y, std::int32_t x,
                                        std::int32_t rowCount, std::int32_t width, std::int32_t stride,
                                        std::int32_t, void* owner) {
    auto* reader = static_cast<FilterImageReader*>(owner);
    if (!reader) return 0;
    if (rowCount == 0) return 1;
    raster::RIPImage* target = reader->target_;
    // A module's counts are outside numbers: a negated width must stay a
    // width, and rows beyond the image cannot be placed (y + rowCount would
    // not even fit in 32 bits).
    if (!target || !rows || rowCount < 0 || rowCount > target->height) return 0;
    if (width == std::numeric_limits<std::int32_t>::min()) return 0;
    const std::int32_t count = width < 0 ? -width : width;
    // A white-on-black bilevel frame arrives with its bits the other way round.
    std::vector<std::uint8_t> inverted;
    auto rowAt = [&](std::int32_t k) -> const std::uint8_t* {
        const std::uint8_t* row = rows + static_cast<std::ptrdiff_t>(k) * stride;
        if (!reader->invertBits_) return row;
        const std::size_t bytes = (static_cast<std::size_t>(count) + 7) / 8;
        inverted.assign(row, row + bytes);
        for (std::uint8_t& b : inverted) b = static_cast<std::uint8_t>(~b);
        return inverted.data();
    };
    if (width >= 0) {
        if (!reader->invertBits_) return raster::RIPSetImageData(target, x, y, width, rowCount, stride, rows, 0);
        for (std::int32_t k = 0; k < rowCount; ++k) {
            if (!raster::RIPSetImageData(target, x, y + k, width, 1, stride, rowAt(k), 0)) return 0;
        }
        return 1;
    }
    // Rows 1 .. rowCount after the pointer, the last one lowest in the image.
    for (std::int32_t k = 1; k <= rowCount; ++k) {
        if (!raster::RIPSetImageData(target, x, y + rowCount - k, count, 1, stride, rowAt(k), 0)) return 0;
    }
    return 1;
}

}  // namespace imageload
