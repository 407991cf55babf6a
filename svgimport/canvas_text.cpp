// Texts to the host: the text's frame as a host transform, its font and
// style word, a text object for the host's advances, the character origins
// along the baseline and the text's box.
//
// The text's own frame is host units, y up, its origin at the anchor point,
// the font size its unit of height. The transform sent maps it onto the
// page through the text's whole matrix (every transform around it, the
// root's mirror of the y axis undone), scaled by the same vertical length
// the reader converted the font size with, so that the size is not scaled
// twice.
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "canvas_detail.h"

namespace SVG {

using detail::TruncateHost;
namespace svc = svgf::svc;

namespace {

// The host's style bits of a weight code, upright and italic.
uint32_t WeightBits(int32_t weight, bool italic) {
    uint32_t upright = 0x40;
    switch (weight) {
        case 4: upright = 0x1; break;
        case 3: case 5: upright = 0x4; break;
        case 6: upright = 0x10; break;
        case 8: upright = 0x100; break;
        case 9: upright = 0x400; break;
        case 1: case 10: upright = 0x1000; break;
        case 2: case 11: upright = 0x4000; break;
        case 12: upright = 0x10000; break;
        default: break;
    }
    return italic ? upright << 1 : upright;
}

// The linear part of the text's frame on the page.
void SetFrame(const WMatrix& m, svgf::HostTransform& t) {
    const double scale = std::hypot(m.c, m.d);
    if (!(scale > 0) || !std::isfinite(scale)) return;  // a collapsed frame stays as the host made it
    t.m[0] = m.a / scale;
    t.m[1] = -m.c / scale;
    t.m[3] = m.b / scale;
    t.m[4] = -m.d / scale;
}

}  // namespace

// The font style word of a font. Text decorations have no bit on this
// host (its 0x20000000 draws small capitals), so none is sent.
uint32_t FontStyleWord(const WFont& font) {
    return WeightBits(font.weight, font.italic);
}

bool WCanvas_UDI::LayOutText(const WText& text, TextLayout& out) {
    const WFont* font = text.presentation.font.get();
    const uint16_t* wide = text.text.Wide();
    const size_t length = text.text.WideLength();
    if (font == nullptr || wide == nullptr || length == 0 || length > static_cast<size_t>(INT32_MAX)) return false;
    const auto count = static_cast<int32_t>(length);
    const svgf::HostServiceTable* services = Services();
    const auto combine = detail::Service<svc::MatrixCombineFn>(services, svc::kMatrixCombine);
    const auto byDescription = detail::Service<svc::FontByDescriptionFn>(services, svc::kFontByDescription);
    const auto byName = detail::Service<svc::FontByNameFn>(services, svc::kFontByName);
    const auto create = detail::Service<svc::CreateFontFn>(services, svc::kCreateFont);
    const auto setText = detail::Service<svc::SetTextFn>(services, svc::kSetText);
    const auto finish = detail::Service<svc::ReleaseFontFn>(services, svc::kReleaseFont);

    // 1. The frame: the linear part, then with the anchor point as its
    // translation.
    svgf::HostTransform linear{};
    detail::InitialiseTransform(services, &linear);
    detail::InitialiseTransform(services, &out.transform);
    SetFrame(text.matrix, linear);
    if (combine != nullptr) {
        combine(&out.transform, &linear);
    } else {
        out.transform = linear;
    }
    out.transform.m[2] += text.x;
    out.transform.m[5] += text.y;

    // 2., 3. The style word and the font.
    out.style = FontStyleWord(*font);
    svgf::FontRecord record{};
    if (font->family.Empty()) {
        if (byDescription == nullptr) return false;
        out.font = byDescription(&record, out.style);
    } else {
        if (byName == nullptr) return false;
        const std::string family = Latin1Of(font->family.Text());
        out.font = byName(family.c_str(), &record, 0, 0);
    }

    // 4. The text object gives each character's advance.
    out.em = std::isfinite(font->size.value) ? std::fabs(font->size.value) : 0;
    out.size = TruncateHost(out.em);
    if (create == nullptr || setText == nullptr || finish == nullptr) return false;
    try {
        out.advances.assign(length, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const svgf::HostHandle object = create(0, out.font, out.style, out.size, &out.transform, 0, 0);
    if (object == 0) return false;
    const int32_t set = setText(object, wide, count, out.advances.data());
    // An object the host made is always finished, whether its text took.
    const int32_t finished = finish(object);
    return set != 0 && finished != 0;
}

double WCanvas_UDI::MeasureText(const WText& text) {
    TextLayout layout;
    if (!LayOutText(text, layout)) return WCanvas::MeasureText(text);
    int64_t advance = 0;
    for (const int32_t a : layout.advances) advance += a;
    return static_cast<double>(advance);
}

int32_t WCanvas_UDI::DrawText(const WText& text) {
    if (!Continue()) return 0;
    const Passes passes = PassesOf(text.presentation);
    if (passes.count == 0) return 1;
    TextLayout layout;
    if (!LayOutText(text, layout)) return 1;
    const svgf::HostServiceTable* services = Services();
    const auto transformPoints = detail::Service<svc::TransformPointsFn>(services, svc::kTransformPoints);
    const auto bounds = detail::Service<svc::BoundingBoxFn>(services, svc::kBoundingBox);
    const size_t length = layout.advances.size();
    std::vector<svgf::HostPoint> origins;
    try {
        origins.assign(length, svgf::HostPoint{0, 0});
    } catch (const std::bad_alloc&) {
        return 1;
    }

    // 5. Origins along the baseline and the box of the text's frame.
    int64_t x = 0;
    for (size_t i = 1; i < length; ++i) {
        x = std::clamp<int64_t>(x + layout.advances[i - 1], INT32_MIN, INT32_MAX);
        origins[i] = {static_cast<int32_t>(x), 0};
    }
    const double s = layout.em;
    const double last = origins.back().x;
    svgf::HostPoint corners[4] = {{TruncateHost(-s), TruncateHost(s)},
                                  {TruncateHost(last + 2 * s), TruncateHost(s)},
                                  {TruncateHost(last + 2 * s), TruncateHost(-s)},
                                  {TruncateHost(-s), TruncateHost(-s)}};
    svgf::HostBox box{};
    if (transformPoints != nullptr && bounds != nullptr) {
        transformPoints(corners, &layout.transform, 4);
        bounds(corners, 4, &box);
    }

    // 6. The text entry, styled and clipped.
    for (const Pass& pass : passes) {
        svgf::HostBox second = box;
        Records records;
        ApplyStyle(text.presentation, pass, box, &second, records);
        PushClipPaths(text.presentation.clipPath.get());
        if (const auto draw = Drawing<svgf::draw::TextFn>(svgf::draw::kText)) {
            draw(current_, &records.attributes, layout.font, layout.style, layout.size, 0, &layout.transform,
                 origins.data(), text.text.Wide(), static_cast<int32_t>(length), &box);
        }
        PopClipPaths(text.presentation.clipPath.get());
    }
    return 1;
}

}  // namespace SVG
