// The cache's images: frames decoded through the reader, a file changed on
// disk decoded again, resource bitmaps turned into placeholder frames.
#include <sys/stat.h>

#include <cstring>

#include "imageload/filter_image_reader.h"
#include "imageload/image_handler.h"
#include "placeholders.h"
#include "raster/blit_entry.h"
#include "raster/palette.h"
#include "raster/raster_state.h"

namespace imageload {
namespace {

// The file's modification time in nanoseconds, 0 when it cannot be read.
std::int64_t ModificationStamp(const char* path) {
    struct stat status {};
    if (::stat(path, &status) != 0) return 0;
    return static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

// Screen bitmaps are 96 dots an inch.
constexpr std::uint32_t kScreenPixelsPerKilometre = 3779527;

}  // namespace

ImageClip::~ImageClip() {
    raster::RIPDestroyImage(image);
    raster::RIPDestroyImage(second);
}

Image::~Image() = default;

void Image::FreeFrames() {
    current = nullptr;
    currentFrame = -1;
    frames.clear();
    frameOrder.clear();
    frameCount = 0;
}

bool Image::Load() {
    FilterImageReader reader;
    if (!reader.Open(source.Text(), 0)) {
        bounds = {};
        format = 0;
        frameCount = 0;
        return false;
    }
    dataSize = reader.FileSize();
    format = static_cast<std::uint16_t>(reader.Format());
    const std::uint32_t count = format == kFormatAnimatedGif && reader.FrameCount() > 0 ? reader.FrameCount() : 1;
    frameCount = static_cast<std::uint16_t>(count);
    frames.clear();
    frames.resize(count);
    // Decoded frames are whole pictures: each is shown as itself.
    frameOrder.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) frameOrder[i] = static_cast<std::uint16_t>(i + 1);
    for (std::uint32_t n = 1; n <= count; ++n) {
        if (!reader.ReadFrame(n)) break;
        raster::RIPImage* frame = reader.TakeTarget();
        if (!frame) break;
        if (n == 1) bounds = {0, 0, frame->width, frame->height};
        auto clip = std::make_unique<ImageClip>();
        clip->rect = std::make_unique<platform::Rect>(reader.FrameRect());
        clip->image = frame;
        frames[n - 1] = std::move(clip);
        loaded = 1;
    }
    if (loaded && frames[0]) {
        current = frames[0].get();
        currentFrame = 0;
    }
    stamp = ModificationStamp(source.Text());
    return loaded != 0;
}

void Image::ReloadIfChanged() {
    if (source.IsEmpty() || ModificationStamp(source.Text()) == stamp) return;
    FreeFrames();
    loaded = 0;
    Load();
}

bool Image::MatchSize(platform::Rect& rect) const {
    if (rect.Width() == 0 && rect.Height() == 0) {
        rect = bounds;
        return true;
    }
    if (rect.Width() == bounds.Width() && rect.Height() == bounds.Height()) return true;
    rect = bounds;
    return false;
}

raster::RIPImage* Image::FromBitmap(const platform::ResourceBitmap& bitmap) {
    const std::int32_t w = bitmap.width;
    const std::int32_t h = bitmap.height;
    if (w <= 0 || h <= 0 || bitmap.stride <= 0 ||
        bitmap.bits.size() < static_cast<std::size_t>(bitmap.stride) * static_cast<std::size_t>(h)) {
        return nullptr;
    }
    const std::int32_t type = bitmap.bitsPerPixel == 1   ? raster::kTypeBilevel
                              : bitmap.bitsPerPixel == 8 ? raster::kTypeStandard8
                                                         : raster::kTypeRGB24;
    if (type == raster::kTypeRGB24 && bitmap.stride < w * 4) return nullptr;
    raster::RIPImage* image = raster::RIPCreateImageEx(type, w, h, kScreenPixelsPerKilometre,
                                                       kScreenPixelsPerKilometre, raster::kAllowTiling, nullptr, 0);
    if (!image) return nullptr;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(w) * 3);
    for (std::int32_t k = 0; k < h; ++k) {
        const std::uint8_t* in = bitmap.bits.data() + static_cast<std::size_t>(k) * bitmap.stride;
        const std::uint8_t* data = in;
        if (type == raster::kTypeRGB24) {
            // Four bytes a pixel: the fourth is dropped.
            for (std::int32_t x = 0; x < w; ++x) std::memcpy(&row[3 * static_cast<std::size_t>(x)], in + 4 * x, 3);
            data = row.data();
        }
        if (!raster::RIPSetImageData(image, 0, h - 1 - k, w, 1, bitmap.stride, data, 0)) {
            raster::RIPDestroyImage(image);
            return nullptr;
        }
    }
    return image;
}

bool Image::LoadPlaceholderBitmap(std::int32_t code) {
    const Placeholder* p = PlaceholderFor(code);
    if (!p) return false;
    bounds = {0, 0, p->width, p->height};
    format = 0;
    platform::ResourceBitmap bitmap;
    if (!platform::LoadResourceBitmap(p->bitmapId, bitmap)) return false;
    raster::RIPImage* frame = FromBitmap(bitmap);
    if (!frame) return false;
    FreeFrames();
    auto clip = std::make_unique<ImageClip>();
    clip->rect = std::make_unique<platform::Rect>(bounds);
    clip->image = frame;
    frames.push_back(std::move(clip));
    frameOrder.push_back(1);
    frameCount = 1;
    current = frames[0].get();
    currentFrame = 0;
    loaded = 1;
    return true;
}

raster::RIPImage* Image::ScaledFrame(std::int32_t width, std::int32_t height) const {
    if (!current || !current->image || width <= 0 || height <= 0) return nullptr;
    raster::RIPImage* source = current->image;
    raster::RIPImage* scaled = nullptr;
    if (source->type == raster::kTypePaletted) {
        raster::RIPPalette* palette = raster::RIPDuplicatePalette(source->palette);
        if (!palette) return nullptr;
        scaled = raster::RIPCreatePalettedImageEx(palette, width, height, source->bitsPerPixel, 1,
                                                  source->xResolution, source->yResolution, raster::kAllowTiling,
                                                  nullptr, 0);
        if (!scaled) {
            raster::RIPDestroyPalette(palette);
            return nullptr;
        }
        scaled->flags &= ~raster::kImagePaletteBorrowed;
    } else {
        scaled = raster::RIPCreateImageEx(source->type, width, height, source->xResolution, source->yResolution,
                                          raster::kAllowTiling, nullptr, 0);
        if (!scaled) return nullptr;
    }
    raster::RIPRasterState* state = raster::RIPCreateRS();
    const int ok = state && raster::RIPSetStretchMode(state, raster::kStretchSmooth) >= 0 &&
                   raster::RIPStretchBlitInContext(state, scaled, 0, 0, width, height, nullptr, source, 0, 0,
                                                   source->width, source->height, nullptr, 0);
    if (state) raster::RIPDestroyRS(state);
    if (!ok) {
        raster::RIPDestroyImage(scaled);
        return nullptr;
    }
    return scaled;
}

GraphicImage* GraphicImage::Create(const markup::String& source) {
    auto image = std::make_unique<GraphicImage>();
    try {
        image->source = source;
        if (!image->Load()) return nullptr;
    } catch (...) {
        return nullptr;
    }
    return image.release();
}

ProxyImage::ProxyImage(std::int32_t code) {
    stamp = code;
    LoadPlaceholderBitmap(code);
}

}  // namespace imageload
