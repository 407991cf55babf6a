// Plays the module's side of an import against the stand-in host: builds
// the import's host records and calls the drawing table and the services
// directly, the way the import's canvas does.
#ifndef TESTS_SUPPORT_IMPORT_CALLS_H
#define TESTS_SUPPORT_IMPORT_CALLS_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "host/import/import_host.h"
#include "svgfilter/import_abi.h"

namespace import_test {

using svgf::HostAttributes;
using svgf::HostPoint;
using svgf::HostRect;

// A FilterEntry that does nothing: the tests call the host themselves.
inline int32_t SVGF_CALL NoModule(uint32_t, svgf::FilterContext*) {
    return 0;
}

inline svgf::ColorRecord Rgb(uint8_t r, uint8_t g, uint8_t b) {
    svgf::ColorRecord c{};
    c.model = svgf::kColorModelRgb;
    c.paletteKind = svgf::kPaletteKindImport;
    c.channels[4] = b;
    c.channels[5] = g;
    c.channels[6] = r;
    return c;
}

inline svgf::HostFillRecord UniformFill(uint8_t r, uint8_t g, uint8_t b) {
    svgf::HostFillRecord fill{};
    fill.kind = svgf::kFillUniform;
    const svgf::ColorRecord c = Rgb(r, g, b);
    std::memcpy(fill.body, &c, sizeof c);
    return fill;
}

inline svgf::HostFillRecord NoFill() {
    svgf::HostFillRecord fill = UniformFill(0, 0, 0);
    fill.kind = svgf::kFillNone;
    return fill;
}

inline svgf::HostFillRecord Fountain(uint16_t type, int32_t angle, std::vector<svgf::HostFountainStop> stops) {
    svgf::HostFillRecord fill{};
    fill.kind = svgf::kFillFountain;
    svgf::HostFountain f{};
    f.subKind = type;
    f.angle = angle;
    f.value36 = 256;
    f.blend = stops.size() > 2 ? 3 : 0;
    f.midPoint = 50;
    f.stopCount = static_cast<int16_t>(stops.size());
    for (size_t i = 0; i < stops.size() && i < svgf::kFountainMaxStops; ++i) f.stops[i] = stops[i];
    std::memcpy(fill.body, &f, sizeof f);
    return fill;
}

inline svgf::HostFillRecord PatternFill(const void* tile, int32_t width, int32_t height, HostRect box) {
    svgf::HostFillRecord fill{};
    fill.kind = svgf::kFillPatternTile;
    svgf::HostPatternTileBlock block{};
    block.tile = reinterpret_cast<svgf::HostWord>(tile);
    block.width = width;
    block.height = height;
    block.box = box;
    std::memcpy(fill.body, &block, sizeof block);
    return fill;
}

// The canvas's outline: none (kind 1, width 762) or solid.
inline svgf::HostOutlineRecord Outline(bool solid, int32_t width = 762, svgf::ColorRecord colour = Rgb(0, 0, 0),
                                       int16_t cap = 0, int16_t join = 0) {
    svgf::HostOutlineRecord o{};
    o.kind = solid ? svgf::kOutlineSolid : svgf::kOutlineNone;
    o.cap = cap;
    o.join = join;
    o.width = width;
    o.value12 = 100;
    o.transform = svgf::HostMatrix{{1, 0, 0, 0, 1, 0}};
    o.colour = colour;
    return o;
}

// An attribute record over records that live as long as it.
struct Attributes {
    svgf::HostFillRecord fill{};
    svgf::HostOutlineRecord outline = Outline(false);
    svgf::HostTransparencyRecord transparency{};
    svgf::HostHyperlinkRecord link{};
    std::u16string url;
    HostAttributes record{};

    explicit Attributes(const svgf::HostFillRecord& f, const svgf::HostOutlineRecord& o = Outline(false)) {
        fill = f;
        outline = o;
        record.fill = &fill;
        record.outline = &outline;
    }
    Attributes(const Attributes&) = delete;
    Attributes& operator=(const Attributes&) = delete;

    Attributes& Uniform(uint8_t opacity) {
        transparency = {};
        transparency.type = svgf::kTransparencyImport;
        static const svgf::HostFillRecord kUniform = [] {
            svgf::HostFillRecord f{};
            f.kind = svgf::kFillUniform;
            return f;
        }();
        transparency.fill = &kUniform;
        transparency.start = 100 - opacity * (1.0 / 255) * 100;
        transparency.end = 100;
        record.transparency = reinterpret_cast<const svgf::HostTransparency*>(&transparency);
        return *this;
    }
    Attributes& Link(const std::u16string& target) {
        url = target;
        link = {reinterpret_cast<const uint16_t*>(url.c_str()), reinterpret_cast<const uint16_t*>(url.c_str()), 0,
                0, 1, nullptr};
        record.further[svgf::kAttributesHyperlinkField] = reinterpret_cast<svgf::HostWord>(&link);
        return *this;
    }
    const HostAttributes* get() const { return &record; }
};

// The drawing table and the services, called as the module calls them.
class ModuleCalls {
  public:
    explicit ModuleCalls(host::import::ImportHost& import) : import_(import) {}

    svgf::HostHandle Handle() const { return import_.Handle(); }
    template <typename Fn>
    Fn Draw(size_t index) const {
        return svgf::drawing<Fn>(&import_.DrawingTable(), index);
    }
    template <typename Fn>
    Fn Service(size_t index) const {
        return svgf::service<Fn>(import_.Host().Context().services, index);
    }

    void BeginGroup(svgf::HostHandle h) const { Draw<svgf::draw::BeginGroupFn>(svgf::draw::kBeginGroup)(h); }
    void EndGroup(svgf::HostHandle h) const { Draw<svgf::draw::EndGroupFn>(svgf::draw::kEndGroup)(h); }
    void PushClip(svgf::HostHandle h, const svgf::HostClipRecord& clip) const {
        Draw<svgf::draw::PushClipFn>(svgf::draw::kPushClip)(h, &clip, 1);
    }
    void PopClip(svgf::HostHandle h) const { Draw<svgf::draw::PopClipFn>(svgf::draw::kPopClip)(h); }

    // A rectangle by its lower-left corner and size, with its box.
    void Rectangle(svgf::HostHandle h, const Attributes& a, int32_t x, int32_t y, int32_t w, int32_t hgt) const {
        const HostRect box{x, y + hgt, x + w, y};
        Draw<svgf::draw::RectangleFn>(svgf::draw::kRectangle)(h, a.get(), x + w / 2, y + hgt / 2, w, hgt, 0, 0, &box, 0);
    }
    void Ellipse(svgf::HostHandle h, const Attributes& a, int32_t cx, int32_t cy, int32_t rx, int32_t ry) const {
        const HostRect box{cx - rx, cy + ry, cx + rx, cy - ry};
        Draw<svgf::draw::EllipseFn>(svgf::draw::kEllipse)(h, a.get(), cx, cy, 2 * rx, 2 * ry, 0, 0, 0, 0, &box, 0);
    }
    void Path(svgf::HostHandle h, const Attributes& a, const std::vector<HostPoint>& points,
              const std::vector<uint8_t>& kinds) const {
        HostRect box{0, 0, 0, 0};
        for (size_t i = 0; i < points.size(); ++i) {
            const HostPoint p = points[i];
            box = i == 0 ? HostRect{p.x, p.y, p.x, p.y}
                         : HostRect{std::min(box.left, p.x), std::max(box.top, p.y), std::max(box.right, p.x),
                                    std::min(box.bottom, p.y)};
        }
        Draw<svgf::draw::PathFn>(svgf::draw::kPath)(h, a.get(), static_cast<uint32_t>(points.size()), points.data(),
                                                    kinds.data(), &box, 0);
    }
    void Exchange(svgf::HostHandle h, const svgf::HostCallbackRecord& install,
                  svgf::HostCallbackRecord* previous) const {
        Draw<svgf::draw::ExchangeCallbackFn>(svgf::draw::kExchangeCallback)(h, &install, previous);
    }

  private:
    host::import::ImportHost& import_;
};

inline svgf::HostClipRecord RectangleClip(int32_t left, int32_t bottom, int32_t right, int32_t top) {
    svgf::HostClipRecord clip{};
    clip.clip.kind = svgf::kClipRectangle;
    clip.clip.shape.rect[0] = top;
    clip.clip.shape.rect[1] = left;
    clip.clip.shape.rect[2] = bottom;
    clip.clip.shape.rect[3] = right;
    return clip;
}

inline svgf::HostClipRecord PathClip(const std::vector<HostPoint>& points, const std::vector<uint8_t>& kinds) {
    svgf::HostClipRecord clip{};
    clip.clip.kind = svgf::kClipPath;
    clip.clip.shape.path = {static_cast<uint32_t>(points.size()), points.data(), kinds.data(), 0};
    return clip;
}

}  // namespace import_test

#endif  // TESTS_SUPPORT_IMPORT_CALLS_H
