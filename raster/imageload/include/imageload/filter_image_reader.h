// FilterImageReader: maps an image file, tells its format from the name and
// its first bytes, loads the decoder module for that format by file name and
// drives it through a filter context, frame by frame: the header first, then
// the pixel rows, which arrive through RowSink in a raster image.
#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <string>

#include "imageload/filter_context.h"
#include "raster/image.h"
#include "platform/window_model.h"

namespace imageload {

// The format whose signature the bytes carry, tried in the reader's order
// (BMP, GIF, JPEG, TIFF, PNG, AVI, wavelet, TGA, PCX); 0 for none.
std::uint32_t DetectFormatBySignature(std::span<const std::uint8_t> bytes);
// Whether the bytes pass the signature rule of one format (for the GIF, at
// least one image).
bool SignatureHolds(std::uint32_t format, std::span<const std::uint8_t> bytes);
// The images a GIF's bytes hold, walked by their blocks.
std::int32_t CountGifImages(std::span<const std::uint8_t> bytes);
// The format the file name's extension names when its signature holds; 0
// otherwise. corruptGif is set for a ".gif" without images.
std::uint32_t DetectFormatByExtension(const std::string& fileName, std::span<const std::uint8_t> bytes,
                                      bool* corruptGif = nullptr);
// The decoder module's file name for a format code; null for other codes.
const char* ModuleFileForFormat(std::uint32_t format);

// The message shown for a ".gif" that holds no image.
inline constexpr const char* kCorruptGifMessage = "This GIF file has been corrupted";

class FilterImageReader {
  public:
    FilterImageReader();
    ~FilterImageReader();
    FilterImageReader(const FilterImageReader&) = delete;
    FilterImageReader& operator=(const FilterImageReader&) = delete;

    // Opens the file and reads its first frame's header; format 0 detects it.
    // On failure nothing stays mapped, open or loaded: 0.
    int Open(const std::string& fileName, std::uint32_t format);
    // Reads frame n (1-based) into a new target image: 1 or 0.
    int ReadFrame(std::uint32_t n);
    // The frame's image, which the caller then owns (null when taken).
    raster::RIPImage* TakeTarget();
    raster::RIPImage* Target() const { return target_; }
    // {0, 0, width, height} of the last header read.
    const platform::Rect& FrameRect() const { return *frameRect_; }
    std::uint32_t Format() const { return context_ ? context_->format : 0; }
    std::uint32_t FileSize() const { return context_ ? context_->fileSize : 0; }
    std::uint16_t FrameCount() const { return context_ ? context_->frameCount : 0; }
    std::uint32_t Error() const { return context_ ? context_->error : 0; }
    bool ModuleLoaded() const { return module_ != nullptr; }
    bool Mapped() const { return context_ && context_->view; }
    const FilterContext* Context() const { return context_; }
    // Unmaps and closes the file.
    void CloseMapping();

    // The row callback the module calls (owner: the reader).
    static std::int32_t RowSink(const std::uint8_t* rows, std::int32_t y, std::int32_t x, std::int32_t rowCount,
                                std::int32_t width, std::int32_t stride, std::int32_t unused, void* owner);

    // The folder the decoder modules are loaded from. Empty (the default):
    // beside this library, else where the build put them.
    static void SetModuleFolder(const std::string& folder);
    static std::string ModuleFolder();

  private:
    int AllocContext();
    void ReleaseContext();
    int MapFile();
    int DetectFormat();
    int LoadModule();
    void UnloadModule();
    int ReadHeader();
    int ReadPixels();
    int CreateTargetImage();
    int WidenFourBitFrame();
    std::int32_t CallModule(std::int32_t code);

    FilterContext* context_ = nullptr;
    char* directory_ = nullptr;
    std::int32_t gifImages_ = 0;
    FilterEntryFn entry_ = nullptr;
    std::string moduleFile_;
    void* module_ = nullptr;
    platform::Rect* frameRect_ = nullptr;
    bool invertBits_ = false;  // a (white, black) 1-bit frame stored as bilevel
    raster::RIPImage* target_ = nullptr;
    raster::RIPImage* second_ = nullptr;
    bool callbackSetLoaded_ = false;
};

}  // namespace imageload
