// The image cache: pictures that documents name, decoded once per source and
// size through the image reader and shared by use count, and placeholders
// for sources that are not pictures (sounds, scripts, applets, queries).
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "markup/singleton.h"
#include "markup/string.h"
#include "platform/bitmaps.h"
#include "platform/window_model.h"
#include "raster/image.h"

namespace imageload {

// Media codes (ImageHandler::ClassifySource).
enum MediaCode : std::int32_t {
    kMediaPicture = 0,
    kMediaSound = 1,
    kMediaQuery = 2,
    kMediaCounter = 3,
    kMediaApplet = 4,
    kMediaUnknown = 5,
    kMediaActiveX = 6,
    kMediaMovie = 7,
    kMediaOther = 8,
    kMediaScript = 9,
    kMediaHidden = 10,
    kMediaServerPage = 11,
    kMediaCodeCount = 12,
};

// One frame: its rectangle and its image, both owned.
class ImageClip {
  public:
    ImageClip() = default;
    virtual ~ImageClip();
    ImageClip(const ImageClip&) = delete;
    ImageClip& operator=(const ImageClip&) = delete;

    std::unique_ptr<platform::Rect> rect;
    std::uint32_t mode = 0;  // 0 for decoded frames
    std::int16_t word = -1;
    raster::RIPImage* image = nullptr;
    raster::RIPImage* second = nullptr;  // null for decoded frames
};

class Image {
  public:
    Image() = default;
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Decodes every frame of the source file; false when none was read.
    bool Load();
    // Decodes the file again when it changed since it was loaded.
    void ReloadIfChanged();
    // True when the rectangle is empty (it then takes the image's size) or
    // of the image's size; otherwise it becomes the image's bounds.
    bool MatchSize(platform::Rect& rect) const;
    // A resource bitmap as a raster image: 1 bit → bilevel, 8 → paletted
    // (standard palette), else 24-bit RGB; rows turned bottom-up.
    static raster::RIPImage* FromBitmap(const platform::ResourceBitmap& bitmap);
    // Makes the placeholder bitmap of a media code the single frame.
    bool LoadPlaceholderBitmap(std::int32_t code);
    // The current frame scaled smoothly to width × height: a new image of
    // the frame's type and resolution (a paletted one with a copy of the
    // palette), which the caller owns; null without a frame or when the
    // scaling fails. Needs the blit pipeline installed.
    raster::RIPImage* ScaledFrame(std::int32_t width, std::int32_t height) const;
    void FreeFrames();

    const ImageClip* Frame(std::size_t index) const {
        return index < frames.size() ? frames[index].get() : nullptr;
    }

    ImageClip* current = nullptr;
    platform::Rect bounds;
    std::uint32_t dataSize = 0;
    std::uint16_t format = 0;
    std::uint16_t frameCount = 0;
    std::uint16_t reserved = 0;
    std::int16_t currentFrame = -1;
    std::vector<std::uint16_t> frameOrder;
    std::vector<std::unique_ptr<ImageClip>> frames;
    markup::String source;  // empty for placeholders
    std::uint32_t useCount = 0;
    std::uint8_t loaded = 0;
    // The file's modification time (nanoseconds) when it was loaded; a
    // placeholder keeps its media code instead.
    std::int64_t stamp = 0;
};

class GraphicImage : public Image {
  public:
    // A loaded image, or null when no frame could be read.
    static GraphicImage* Create(const markup::String& source);
};

class ProxyImage : public Image {
  public:
    explicit ProxyImage(std::int32_t code);
};

class ImageHandler {
  public:
    // Only through Instance(); raises IllegalUsageFault otherwise.
    ImageHandler();
    virtual ~ImageHandler();
    static ImageHandler& Instance() { return markup::Singleton<ImageHandler>::Instance(); }

    static std::int32_t ClassifySource(const markup::String& source);
    // The bucket of a source name in the image table.
    static std::int32_t HashSource(const markup::String& source);
    static constexpr std::int32_t kImageBuckets = 13;

    // The image for a source at a size (0 × 0: its own); width and height
    // come back as the image's. loaded tells whether it holds a decoded
    // frame. A failure gives the placeholder of code 0 when a caller context
    // is given, else null.
    Image* GetImage(const markup::String& source, std::int32_t& width, std::int32_t& height, int& loaded,
                    const void* callerContext);
    // The new use count; at 0 the entry is removed and destroyed.
    std::uint32_t ReleaseImage(Image* image);
    // One more use of an image the cache answered (a holder copying its
    // reference); the new use count, 0 for null.
    std::uint32_t AddReference(Image* image);
    // The placeholder of a media code, made on first use; its bounds go to rect.
    Image* GetPlaceholder(std::int32_t code, const void* callerContext, platform::Rect& rect);
    Image* Lookup(const markup::String& source, const void* callerContext, platform::Rect& rect);

    // The directory the readers hand to their modules ("" unless set).
    const char* Directory() const { return directory_.Text(); }
    // Entries in the image table, for tests and diagnostics.
    std::size_t ImageCount() const;

  private:
    struct ImageNode;
    Image* FindOrLoad(const markup::String& source, platform::Rect& rect);
    Image* PlaceholderLocked(std::int32_t code, platform::Rect& rect);

    markup::String directory_;
    mutable std::recursive_mutex lock_;
    std::unique_ptr<ImageNode> images_[kImageBuckets];
    std::unique_ptr<ImageNode> placeholders_[kMediaCodeCount];
};

}  // namespace imageload
