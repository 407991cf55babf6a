// The stand-in host's bitmaps and its raster export filter, as the module
// reaches them through the service table: bitmap information (0x48), the
// bitmap description (0x12c), the two filter runs over a sub-context (0x4),
// the end of a sub-context (0x10) and the optional render steps (0x90, 0x84,
// 0x94).
//
// A sub-context's two runs: the render run (flags 0x2004) makes a canvas of
// the asked pixel size, draws the source bitmap into it and stores the
// canvas handle in the sub-context's hostHandle; the write run (flags 0x4004)
// writes the canvas to fileName in the asked format and depth; ending the
// sub-context releases the canvas.
//
// Which bitmap a render run draws is the host's own business: before it
// reports a bitmap, the host names it in its exchange block (see
// SetExchangeSource), which the module copies into the sub-context. A host
// that offers the render steps may leave the block empty and draw through
// step 0x84 instead.
#ifndef HOST_MEDIA_IMAGE_HOST_H
#define HOST_MEDIA_IMAGE_HOST_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "host/media/image.h"
#include "svgfilter/filter_abi.h"

namespace host::media {

// What service 0x12c answers. The module reads only sourceType; the rest is
// for the host's own tools and tests.
struct BitmapDescription {
    uint32_t sourceType;   // svgf::BitmapSourceType
    uint32_t width;        // pixels
    uint32_t height;       // pixels
    uint32_t paletteSize;  // 0 without a palette
};

// The host's own words at the start of its 800-byte exchange block.
inline constexpr size_t kExchangeSourceOffset = 0;  // u32: bitmap to draw in render runs, 0 none
void SetExchangeSource(void* exchangeBlock, svgf::HostHandle bitmap);
svgf::HostHandle ExchangeSource(const void* exchangeBlock);

class ImageHost {
  public:
    ImageHost();
    ~ImageHost();
    ImageHost(const ImageHost&) = delete;
    ImageHost& operator=(const ImageHost&) = delete;

    // Bitmaps: each file is decoded once; opening it again gives the same
    // handle. 0 on failure, with the reason in lastError().
    svgf::HostHandle OpenBitmap(const std::string& path);
    void CloseBitmap(svgf::HostHandle bitmap);
    // Whether the file decodes (or is open already), keeping nothing; the
    // reason is in lastError() when it does not.
    bool Decodes(const std::string& path);
    const Image* Bitmap(svgf::HostHandle bitmap) const;

    // Service 0x48: the information handle of a bitmap, 0 for an unknown one.
    svgf::HostHandle BitmapInfo(svgf::HostHandle bitmap);
    // Service 0x12c: the description behind an information handle, or null.
    const BitmapDescription* Description(svgf::HostHandle info);

    // Service 0x4: the render or the write run, by the sub-context's flags;
    // 1 on success, 0 on failure (and then no file is left behind).
    int32_t RunSubFilter(svgf::FilterContext* sub);
    // Service 0x10: releases the sub-context's canvas and clears its handle.
    int32_t EndSubContext(svgf::FilterContext* sub);

    // Render steps: 0x90 clears the canvas, 0x84 draws a bitmap into the
    // part of it that the box covers (axis-aligned matrices only), 0x94
    // closes the drawing.
    int32_t BeginRender(svgf::HostHandle canvas);
    int32_t DrawBitmap(svgf::HostHandle canvas, svgf::HostHandle bitmap, const svgf::HostRect* box,
                       const svgf::HostMatrix* matrix);
    int32_t EndRender(svgf::HostHandle canvas);

    // Whether the render steps are offered; a render run without a source
    // bitmap then gives a blank canvas for them to draw into.
    void setRenderSteps(bool offered) { renderSteps_ = offered; }
    bool renderSteps() const { return renderSteps_; }

    // Bitmaps still held (not yet closed).
    size_t openBitmaps() const { return bitmaps_.size(); }
    // Sub-contexts whose canvas is still held (not yet ended).
    size_t openCanvases() const { return canvases_.size(); }
    const Image* Canvas(svgf::HostHandle canvas) const;
    const std::string& lastError() const { return lastError_; }

  private:
    struct BitmapEntry;
    struct CanvasEntry;
    int32_t Fail(std::string message);
    int32_t RenderRun(svgf::FilterContext* sub);
    int32_t WriteRun(svgf::FilterContext* sub);

    std::map<svgf::HostHandle, std::unique_ptr<BitmapEntry>> bitmaps_;
    std::map<svgf::HostHandle, std::unique_ptr<CanvasEntry>> canvases_;
    uint32_t nextBitmap_ = 1;
    uint32_t nextCanvas_ = 1;
    bool renderSteps_ = false;
    std::string lastError_;
};

// Sets one service table entry; the host's table keeps what it is given.
using ServiceSetter = std::function<void(size_t index, svgf::HostServiceFn fn)>;

// Hands the image services to a service table through set: 0x4, 0x10, 0x48
// and 0x12c, and 0x84, 0x90 and 0x94 when images offers the render steps.
// The entries are plain functions, so they serve one ImageHost at a time:
// the one registered last, until it is destroyed.
void RegisterImageServices(ImageHost& images, const ServiceSetter& set);

// For a host that wraps the entries itself (to record their calls, say):
// makes images the one they serve, without touching any table.
void ServeImages(ImageHost& images);

// The entries, of the interface's types; each answers 0 (or null) when no
// image host is served or anything is thrown inside.
namespace image_entries {
int32_t SVGF_CALL RunSubFilter(svgf::FilterContext* sub);               // 0x4
int32_t SVGF_CALL EndSubContext(svgf::FilterContext* sub);              // 0x10
svgf::HostHandle SVGF_CALL BitmapInfo(svgf::HostHandle bitmap);         // 0x48
const void* SVGF_CALL DescribeBitmap(svgf::HostHandle info);            // 0x12c
int32_t SVGF_CALL BeginRender(svgf::HostHandle canvas, uint32_t zero);  // 0x90
int32_t SVGF_CALL DrawBitmap(svgf::HostHandle canvas, uintptr_t a1, svgf::HostHandle bitmap, uintptr_t a3,
                             const svgf::HostRect* box, const svgf::HostMatrix* matrix,
                             const svgf::HostRect* box2, const svgf::HostRect* box3, uint32_t zero);  // 0x84
int32_t SVGF_CALL EndRender(svgf::HostHandle canvas);                                                 // 0x94
}  // namespace image_entries

}  // namespace host::media

#endif  // HOST_MEDIA_IMAGE_HOST_H
