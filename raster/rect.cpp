// Rectangle operations. Offsets saturate so an edge never wraps around.
#include "raster/rect.h"

#include <algorithm>
#include <limits>

#include "raster/image.h"

namespace raster {
namespace {

std::int32_t Saturate(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

int RIPRectIsEmpty(const RIPRect& r) {
    return r.right < r.left || r.bottom > r.top ? 1 : 0;
}

int RIPRectEqual(const RIPRect& a, const RIPRect& b) {
    return a == b ? 1 : 0;
}

int RIPRectOffset(RIPRect* r, std::int32_t dx, std::int32_t dy) {
    r->left = Saturate(static_cast<std::int64_t>(r->left) + dx);
    r->right = Saturate(static_cast<std::int64_t>(r->right) + dx);
    r->top = Saturate(static_cast<std::int64_t>(r->top) + dy);
    r->bottom = Saturate(static_cast<std::int64_t>(r->bottom) + dy);
    return 1;
}

int RIPRectIntersect(RIPRect* out, const RIPRect& a, const RIPRect& b) {
    const RIPRect r{std::max(a.left, b.left), std::min(a.top, b.top), std::min(a.right, b.right),
                    std::max(a.bottom, b.bottom)};
    if (out != nullptr) {
        *out = r;
    }
    return RIPRectIsEmpty(r) ? 0 : 1;
}

void RIPRectSet(RIPRect* r, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    *r = RIPRect{left, top, right, bottom};
}

void RIPRectFromImage(RIPRect* r, const RIPImage& image) {
    *r = RIPRect{0, image.height - 1, image.width - 1, 0};
}

}  // namespace raster
