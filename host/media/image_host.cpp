// The host's bitmap table and its raster export filter over sub-contexts.
#include "host/media/image_host.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <new>

#include "host/media/image_codec.h"
#include "host/media/resample.h"
#include "image_services_detail.h"

namespace host::media {

// Handles carry their kind in the top byte, so that one kind handed where
// another is expected is refused rather than misread.
namespace {
constexpr uint32_t kBitmapTag = 0x01000000;
constexpr uint32_t kInfoTag = 0x02000000;
constexpr uint32_t kCanvasTag = 0x03000000;
constexpr uint32_t kTagMask = 0xff000000;

std::string Key(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

// The depth and format a sub-context asks for.
Status OptionsOf(const svgf::FilterContext& sub, WriteOptions& options) {
    if (!FormatFromCode(sub.formatCode, options.format)) {
        return Status::Error("unknown format code " + std::to_string(sub.formatCode));
    }
    options.bitsPerPixel = sub.bitsPerPixel;
    const auto* block = static_cast<const uint8_t*>(sub.exchangeBlock);
    options.paletted = block && block[svgf::kExchangePalettedOffset] != 0;
    // The resolution is in thousandths of a dot per metre.
    options.dotsPerInch = static_cast<uint32_t>(std::lround(sub.resolutionX * 0.0254 / 1000.0));
    return CheckWriteOptions(options);
}

Status CheckPixelSize(const svgf::FilterContext& sub) {
    if (!ImageSizeAllowed(sub.pixelWidth, sub.pixelHeight)) {
        return Status::Error("pixel size " + std::to_string(sub.pixelWidth) + " x " +
                             std::to_string(sub.pixelHeight) + " is outside the supported range");
    }
    return {};
}

// Draws src over the canvas pixels [x0, x0 + src.width) x [y0, ...), clipped.
void Composite(const Image& src, int64_t x0, int64_t y0, Image& canvas) {
    for (uint32_t y = 0; y < src.height; ++y) {
        const int64_t cy = y0 + y;
        if (cy < 0 || cy >= canvas.height) continue;
        for (uint32_t x = 0; x < src.width; ++x) {
            const int64_t cx = x0 + x;
            if (cx < 0 || cx >= canvas.width) continue;
            const uint8_t* s = src.pixel(x, y);
            uint8_t* d = canvas.pixel(static_cast<uint32_t>(cx), static_cast<uint32_t>(cy));
            const unsigned sa = s[3], da = d[3] * (255u - sa) / 255u, a = sa + da;
            if (a == 0) continue;
            for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>((s[c] * sa + d[c] * da + a / 2) / a);
            d[3] = static_cast<uint8_t>(a);
        }
    }
}

}  // namespace

struct ImageHost::BitmapEntry {
    std::string key;
    Image image;
    BitmapDescription description{};
};

struct ImageHost::CanvasEntry {
    Image image;
    svgf::HostRect box{};  // the part of the page the canvas covers
    bool drawn = false;
};

void SetExchangeSource(void* exchangeBlock, svgf::HostHandle bitmap) {
    if (exchangeBlock) std::memcpy(static_cast<uint8_t*>(exchangeBlock) + kExchangeSourceOffset, &bitmap, 4);
}

svgf::HostHandle ExchangeSource(const void* exchangeBlock) {
    svgf::HostHandle bitmap = 0;
    if (exchangeBlock)
        std::memcpy(&bitmap, static_cast<const uint8_t*>(exchangeBlock) + kExchangeSourceOffset, 4);
    return bitmap;
}

ImageHost::ImageHost() = default;

ImageHost::~ImageHost() {
    detail::ForgetImageHost(this);
}

int32_t ImageHost::Fail(std::string message) {
    lastError_ = std::move(message);
    return 0;
}

svgf::HostHandle ImageHost::OpenBitmap(const std::string& path) {
    const std::string key = Key(path);
    for (const auto& [handle, entry] : bitmaps_) {
        if (entry->key == key) return handle;
    }
    auto entry = std::make_unique<BitmapEntry>();
    entry->key = key;
    if (Status s = DecodeImageFile(path, entry->image); !s) {
        Fail(s.message());
        return 0;
    }
    const Image& image = entry->image;
    entry->description = {image.sourceType, image.width, image.height,
                          static_cast<uint32_t>(image.palette.size())};
    const svgf::HostHandle handle = kBitmapTag | nextBitmap_++;
    bitmaps_.emplace(handle, std::move(entry));
    return handle;
}

bool ImageHost::Decodes(const std::string& path) {
    const std::string key = Key(path);
    for (const auto& [handle, entry] : bitmaps_) {
        if (entry->key == key) return true;
    }
    Image image;
    if (Status s = DecodeImageFile(path, image); !s) {
        Fail(s.message());
        return false;
    }
    return true;
}

void ImageHost::CloseBitmap(svgf::HostHandle bitmap) {
    bitmaps_.erase(bitmap);
}

const Image* ImageHost::Bitmap(svgf::HostHandle bitmap) const {
    auto it = bitmaps_.find(bitmap);
    return it == bitmaps_.end() ? nullptr : &it->second->image;
}

svgf::HostHandle ImageHost::BitmapInfo(svgf::HostHandle bitmap) {
    if ((bitmap & kTagMask) != kBitmapTag || !bitmaps_.count(bitmap)) {
        Fail("no bitmap with handle " + std::to_string(bitmap));
        return 0;
    }
    return kInfoTag | (bitmap & ~kTagMask);
}

const BitmapDescription* ImageHost::Description(svgf::HostHandle info) {
    if ((info & kTagMask) == kInfoTag) {
        auto it = bitmaps_.find(kBitmapTag | (info & ~kTagMask));
        if (it != bitmaps_.end()) return &it->second->description;
    }
    Fail("no bitmap information with handle " + std::to_string(info));
    return nullptr;
}

const Image* ImageHost::Canvas(svgf::HostHandle canvas) const {
    auto it = canvases_.find(canvas);
    return it == canvases_.end() ? nullptr : &it->second->image;
}

int32_t ImageHost::RunSubFilter(svgf::FilterContext* sub) {
    if (!sub) return Fail("no sub-context");
    if (sub->size != svgf::kContextSize) return Fail("sub-context size " + std::to_string(sub->size));
    const bool render = (sub->flags & svgf::kFlagRenderRun) != 0;
    const bool write = (sub->flags & svgf::kFlagWriteRun) != 0;
    if (render == write) return Fail("sub-context flags name neither run");
    try {
        return render ? RenderRun(sub) : WriteRun(sub);
    } catch (const std::bad_alloc&) {
        return Fail("no memory for the bitmap");
    }
}

int32_t ImageHost::RenderRun(svgf::FilterContext* sub) {
    if (sub->hostHandle != 0) return Fail("sub-context already holds a canvas");
    WriteOptions options;
    if (Status s = OptionsOf(*sub, options); !s) return Fail(s.message());
    if (Status s = CheckPixelSize(*sub); !s) return Fail(s.message());

    const svgf::HostHandle source = ExchangeSource(sub->exchangeBlock);
    const Image* bitmap = nullptr;
    if (source != 0) {
        bitmap = Bitmap(source);
        if (!bitmap) return Fail("no bitmap with handle " + std::to_string(source));
    } else if (!renderSteps_) {
        return Fail("the sub-context names no bitmap to draw");
    }

    auto canvas = std::make_unique<CanvasEntry>();
    canvas->box = sub->pageRect;
    if (bitmap) {
        if (Status s = Resample(*bitmap, sub->pixelWidth, sub->pixelHeight, canvas->image); !s) {
            return Fail(s.message());
        }
        canvas->drawn = true;
    } else if (Status s = Image::Allocate(sub->pixelWidth, sub->pixelHeight, canvas->image); !s) {
        return Fail(s.message());
    }
    const svgf::HostHandle handle = kCanvasTag | (nextCanvas_++ & ~kTagMask);
    canvases_.emplace(handle, std::move(canvas));
    sub->hostHandle = handle;
    return 1;
}

int32_t ImageHost::WriteRun(svgf::FilterContext* sub) {
    auto it = canvases_.find(sub->hostHandle);
    if (it == canvases_.end()) return Fail("the sub-context holds no canvas: run the render pass first");
    CanvasEntry& canvas = *it->second;
    if (!canvas.drawn) return Fail("nothing was drawn into the canvas");
    if (!sub->fileName || !*sub->fileName) return Fail("the sub-context names no file");
    WriteOptions options;
    if (Status s = OptionsOf(*sub, options); !s) return Fail(s.message());
    if (Status s = CheckPixelSize(*sub); !s) return Fail(s.message());

    const Image* image = &canvas.image;
    Image scaled;
    if (image->width != sub->pixelWidth || image->height != sub->pixelHeight) {
        if (Status s = Resample(*image, sub->pixelWidth, sub->pixelHeight, scaled); !s)
            return Fail(s.message());
        image = &scaled;
    }
    if (Status s = WriteImageFile(sub->fileName, *image, options); !s) return Fail(s.message());
    return 1;
}

int32_t ImageHost::EndSubContext(svgf::FilterContext* sub) {
    if (!sub) return Fail("no sub-context");
    if (canvases_.erase(sub->hostHandle) == 0) return Fail("the sub-context holds no canvas");
    sub->hostHandle = 0;
    return 1;
}

int32_t ImageHost::BeginRender(svgf::HostHandle canvas) {
    auto it = canvases_.find(canvas);
    if (it == canvases_.end()) return Fail("no canvas with handle " + std::to_string(canvas));
    std::fill(it->second->image.rgba.begin(), it->second->image.rgba.end(), 0);
    it->second->drawn = false;
    return 1;
}

int32_t ImageHost::DrawBitmap(svgf::HostHandle canvasHandle, svgf::HostHandle bitmapHandle,
                              const svgf::HostRect* box, const svgf::HostMatrix* matrix) {
    auto it = canvases_.find(canvasHandle);
    if (it == canvases_.end()) return Fail("no canvas with handle " + std::to_string(canvasHandle));
    const Image* bitmap = Bitmap(bitmapHandle);
    if (!bitmap) return Fail("no bitmap with handle " + std::to_string(bitmapHandle));
    if (!box) return Fail("no box to draw the bitmap into");
    svgf::HostMatrix m{{1, 0, 0, 0, 1, 0}};
    if (matrix) m = *matrix;
    if (m.m[1] != 0 || m.m[3] != 0) return Fail("only axis-aligned bitmaps can be drawn");
    CanvasEntry& canvas = *it->second;

    // Page to canvas pixels: the canvas spans its box (edges inclusive),
    // y growing upwards on the page and downwards in the canvas.
    const double left = std::min(canvas.box.left, canvas.box.right);
    const double right = std::max(canvas.box.left, canvas.box.right) + 1.0;
    const double bottom = std::min(canvas.box.top, canvas.box.bottom);
    const double top = std::max(canvas.box.top, canvas.box.bottom) + 1.0;
    const double sx = canvas.image.width / (right - left);
    const double sy = canvas.image.height / (top - bottom);
    const double x1 = m.m[0] * box->left + m.m[2], x2 = m.m[0] * (box->right + 1.0) + m.m[2];
    const double y1 = m.m[4] * box->top + m.m[5], y2 = m.m[4] * (box->bottom + 1.0) + m.m[5];
    const auto px0 = std::llround((std::min(x1, x2) - left) * sx);
    const auto px1 = std::llround((std::max(x1, x2) - left) * sx);
    const auto py0 = std::llround((top - std::max(y1, y2)) * sy);
    const auto py1 = std::llround((top - std::min(y1, y2)) * sy);
    if (px1 <= px0 || py1 <= py0) return 1;  // nothing visible at this size
    if (!ImageSizeAllowed(static_cast<uint64_t>(px1 - px0), static_cast<uint64_t>(py1 - py0))) {
        return Fail("the bitmap is drawn too large");
    }
    Image scaled;
    if (Status s =
            Resample(*bitmap, static_cast<uint32_t>(px1 - px0), static_cast<uint32_t>(py1 - py0), scaled);
        !s) {
        return Fail(s.message());
    }
    Composite(scaled, px0, py0, canvas.image);
    if (canvas.image.palette.empty()) canvas.image.palette = bitmap->palette;
    canvas.image.sourceType = bitmap->sourceType;
    canvas.drawn = true;
    return 1;
}

int32_t ImageHost::EndRender(svgf::HostHandle canvas) {
    if (!canvases_.count(canvas)) return Fail("no canvas with handle " + std::to_string(canvas));
    return 1;
}

}  // namespace host::media
