// Bitmaps: the host writes each one as an image file in a folder beside the
// document, running its own raster export filter twice over a sub-context
// that the exporter fills in, and the document refers to the file from an
// image element.
#include <cstdlib>
#include <cstring>
#include <memory>

#include "bitmap_file.h"
#include "c_format.h"
#include "svg_elements.h"
#include "svg_exp.h"
#include "svg_writer.h"

namespace svgf {
namespace {

struct FreeDeleter {
    void operator()(void* block) const { std::free(block); }
};

template <typename T>
using Allocated = std::unique_ptr<T, FreeDeleter>;

bool SameBox(const HostRect& a, const HostRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

uint32_t SVGExp::NextImageNumber() {
    return ++imageNumber_;
}

std::string SVGExp::ExportBitmapFile(HostWord a1, HostHandle bitmap, HostWord a3, const HostRect& boxA,
                                     const HostRect& /*visible*/, const HostRect& boxA2) {
    if (context_ == nullptr) return {};
    HostMatrix work{{1, 0, 0, 0, 1, 0}};
    if (const auto identity = Service<svc::MatrixIdentityFn>(svc::kMatrixIdentity)) identity(&work);

    const ImageFileNames names = ImageFileNamesFor(context_->fileName != nullptr ? context_->fileName : "",
                                                   NextImageNumber(), options_.bitmapType);

    Allocated<FilterContext> sub(static_cast<FilterContext*>(std::calloc(1, sizeof(FilterContext))));
    Allocated<uint8_t> exchange(static_cast<uint8_t*>(std::calloc(1, kExchangeBlockSize)));
    if (!sub || !exchange) return {};
    // The host reads the path through a plain pointer for both runs.
    std::string fullPath = names.fullPath;

    FilterContext& s = *sub;
    s.size = kContextSize;
    s.subWord12 = 1;
    s.subWord16 = 1;
    s.pixelWidth = PixelsAt72Dpi(boxA.left, boxA.right);
    s.pixelHeight = PixelsAt72Dpi(boxA.top, boxA.bottom);
    s.resolutionX = kSubContextResolution;
    s.resolutionY = kSubContextResolution;
    s.fileName = fullPath.data();
    s.pageRect = boxA;
    s.subWord180 = 1;
    s.subWord184 = 0;
    s.subWord188 = 0;
    s.callbackSet = context_->callbackSet;
    // Without a block of the host's own the copy stays zero-filled.
    if (context_->exchangeBlock != nullptr)
        std::memcpy(exchange.get(), context_->exchangeBlock, kExchangeBlockSize);
    s.exchangeBlock = exchange.get();
    s.hostValue = context_->hostValue;
    s.services = context_->services;
    s.subWord348 = 0;

    const auto info = Service<svc::BitmapInfoFn>(svc::kBitmapInfo);
    const auto describe = Service<svc::BitmapDescriptionFn>(svc::kBitmapDescription);
    const auto run = Service<svc::RunSubFilterFn>(svc::kRunSubFilter);
    if (info == nullptr || describe == nullptr || run == nullptr) return {};
    const HostHandle infoHandle = info(bitmap);
    if (infoHandle == 0) return {};
    const void* description = describe(infoHandle);
    if (description == nullptr) return {};
    uint32_t sourceType = 0;
    std::memcpy(&sourceType, description, sizeof sourceType);
    if (const auto format = BitmapFileFormatFor(options_.bitmapType, sourceType)) {
        s.bitsPerPixel = format->bitsPerPixel;
        s.formatCode = format->formatCode;
        exchange.get()[kExchangePalettedOffset] = format->paletted;
    }
    exchange.get()[kExchangeMarkOffset] = 1;

    s.flags = kSubContextRenderFlags;
    if (run(sub.get()) == 0) return {};

    if (const auto begin = Service<svc::RenderStep90Fn>(svc::kRenderStep90)) begin(s.hostHandle, 0);
    if (const auto draw = Service<svc::RenderStep84Fn>(svc::kRenderStep84))
        draw(s.hostHandle, a1, bitmap, a3, &boxA, &work, &boxA2, &boxA2, 0);
    if (const auto end = Service<svc::RenderStep94Fn>(svc::kRenderStep94)) end(s.hostHandle);

    // A file this export writes goes again when the export fails, and one
    // that was there before comes back.
    std::string result;
    if (images_.MakeFolder(names.folder) && images_.Claim(names.fullPath)) {
        s.flags = kSubContextWriteFlags;
        if (run(sub.get()) != 0) result = names.reference;
    } else {
        ReportFileFailure(images_.FailureCause());
    }
    // The first run holds host resources in the sub-context whatever follows.
    if (const auto finish = Service<svc::EndSubContextFn>(svc::kEndSubContext)) finish(sub.get());
    return result;
}

int32_t SVGExp::BuildElementClipPath(std::unique_ptr<SVGObject> shape, std::string& name) {
    if (writer_ == nullptr) return kFailed;
    SVGClipPath clip;
    clip.shape = std::move(shape);
    clip.id.SetNumber(writer_->NextDefinitionNumber());
    name = clip.id.Name();
    return writer_->WriteDefinition(clip) != 0 ? kDone : kFailed;
}

int32_t SVGExp::DrawBitmap(HostWord a1, HostHandle bitmap, HostWord a3, const HostRect* destination,
                           const HostMatrix* matrix, const HostRect* visible, HostWord, HostWord) {
    if (writer_ == nullptr || destination == nullptr || matrix == nullptr || visible == nullptr)
        return kFailed;
    const HostRect a = *destination;
    const HostRect b = *visible;

    SVGImage image;
    image.href = ExportBitmapFile(a1, bitmap, a3, a, b, a);
    if (image.href.empty()) return kFailed;

    const auto identity = Service<svc::MatrixIdentityFn>(svc::kMatrixIdentity);
    const auto combine = Service<svc::MatrixCombineFn>(svc::kMatrixCombine);
    const auto translate = Service<svc::MatrixTranslateFn>(svc::kMatrixTranslate);
    HostMatrix m{{1, 0, 0, 0, 1, 0}};
    if (identity) identity(&m);

    if (SameBox(a, b)) {
        if (combine) combine(&m, matrix);
    } else {
        auto crop = std::make_unique<SVGRectangle>();
        crop->x = ToUserLength(b.left);
        crop->y = yOrigin_ - ToUserLength(b.top);
        crop->width = std::abs(ToUserLength(b.right) - crop->x);
        crop->height = std::abs(yOrigin_ - ToUserLength(b.bottom) - crop->y);
        double svg[6];
        if (BuildSvgMatrix(svg, *matrix) != kDone) return kFailed;
        crop->AddMatrix(svg[0], svg[1], svg[2], svg[3], svg[4], svg[5]);
        std::string clipName;
        const int32_t clipped = BuildElementClipPath(std::move(crop), clipName);
        if (clipped != kDone) return clipped;
        image.style.clip = clipName;
        if (translate) translate(&m, -b.left, -b.bottom);
        if (combine) combine(&m, matrix);
        if (translate) translate(&m, b.left, b.bottom);
    }

    const auto isIdentity = Service<svc::MatrixIsIdentityFn>(svc::kMatrixIsIdentity);
    if (isIdentity != nullptr && isIdentity(&m) == 0) {
        double svg[6];
        if (BuildSvgMatrix(svg, m) != kDone) return kFailed;
        image.AddMatrix(svg[0], svg[1], svg[2], svg[3], svg[4], svg[5]);
    }

    image.x = ToUserLength(a.left);
    image.y = yOrigin_ - ToUserLength(a.top);
    image.width = std::abs(ToUserLength(a.right) - image.x);
    image.height = std::abs(yOrigin_ - ToUserLength(a.bottom) - image.y);
    return writer_->WriteElement(image) != 0 ? kDone : kFailed;
}

}  // namespace svgf
