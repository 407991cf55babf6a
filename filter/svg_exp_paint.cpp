// Fills that are definitions of their own: gradients written inline,
// patterns whose tile the host draws through its callback set, and the masks
// that gradient and pattern transparencies become.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "c_format.h"
#include "svg_elements.h"
#include "svg_exp.h"
#include "svg_gradient.h"
#include "svg_writer.h"

namespace svgf {
namespace {

constexpr uint16_t kLinearFountain = 1;
constexpr uint16_t kRadialFountain = 2;

bool IsPatternKind(uint16_t kind) {
    return kind >= kFillPatternFirst && kind <= kFillPatternLast;
}

HostFountain FountainOf(const HostFillRecord& record) {
    HostFountain fountain;
    std::memcpy(&fountain, record.body, sizeof fountain);
    return fountain;
}

HostPatternBlock PatternOf(const HostFillRecord& record) {
    HostPatternBlock block;
    std::memcpy(&block, record.body, sizeof block);
    return block;
}

const HostMatrix* MatrixOf(const HostAttributes* attributes) {
    return attributes == nullptr
               ? nullptr
               : reinterpret_cast<const HostMatrix*>(attributes->further[kAttributesMatrixField]);
}

int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

CRCPtr<SVGFill> ReferenceFill(const std::string& id) {
    return CRCPtr<SVGFill>(std::make_unique<SVGFill_InlineReference>(id));
}

}  // namespace

int64_t SVGExp::OutlineReach(const HostOutlineRecord* outline) const {
    if (outline == nullptr || (outline->kind & 7) == kOutlineNone) return 0;
    const double half = std::fabs(static_cast<double>(outline->width) * scale_) / 2;
    // Mitred joins reach out to the miter limit; the document leaves it at
    // the renderer's default of 4 widths. Other joins and square caps reach
    // at most the half width's diagonal.
    const double factor = outline->join == 1 || outline->join == 2 ? std::sqrt(2.0) : 4.0;
    // One unit more for the edge's smoothing.
    return static_cast<int64_t>(std::ceil(std::min(half * factor, 1e9))) + 1;
}

std::unique_ptr<SVGGradient> SVGExp::BuildGradient(const HostFountain& fountain, const HostRect& box,
                                                   int mode) {
    std::unique_ptr<SVGGradient> gradient;
    if (fountain.subKind == kLinearFountain) {
        auto linear = std::make_unique<SVGGradient_Linear>();
        SetLinearGeometry(fountain, box, *linear);
        gradient = std::move(linear);
    } else if (fountain.subKind == kRadialFountain) {
        auto radial = std::make_unique<SVGGradient_Radial>();
        SetRadialGeometry(fountain, box, *radial);
        gradient = std::move(radial);
    } else {
        return nullptr;
    }
    AddGradientStops(fountain, *gradient, mode);
    return gradient;
}

void SVGExp::ResolveFountainFill(SVGObject& element, const HostAttributes* attributes, const HostRect* box) {
    const HostFountain fountain = FountainOf(*attributes->fill);
    // Forms other than linear and radial have no SVG gradient: no fill.
    if (fountain.subKind != kLinearFountain && fountain.subKind != kRadialFountain) return;
    if (UsesClasses()) {
        AddFillSelector(element, attributes, box, false);
        return;
    }
    if (box == nullptr) return;
    std::unique_ptr<SVGGradient> gradient = BuildGradient(fountain, *box, 0);
    if (!gradient) return;
    RegisterDefinition(*gradient);
    element.style.fill = ReferenceFill(gradient->id.Name());
}

void SVGExp::ResolvePatternFill(SVGObject& element, const HostAttributes* attributes, const HostRect* box) {
    if (box == nullptr) return;
    SVGPattern pattern;
    if (BuildPattern(PatternOf(*attributes->fill), *box, MatrixOf(attributes), pattern) != kDone) return;
    element.style.fill = ReferenceFill(pattern.id.Name());
}

int32_t SVGExp::BuildPattern(const HostPatternBlock& block, const HostRect& box, const HostMatrix* matrix,
                             SVGPattern& pattern) {
    if (writer_ == nullptr) return kFailed;
    // A tile whose drawing uses the pattern again would have the host draw
    // it again without end; past this depth the inner fill stays unset.
    if (patternDepth_ >= kMaxPatternDepth) return kFailed;
    pattern.width = ToUserLength(block.width);
    pattern.height = ToUserLength(block.height);
    pattern.x = ToUserLength(box.left);
    pattern.y = (yOrigin_ - ToUserLength(box.bottom)) - pattern.height;
    const HostPoint topLeft = ToUserPoint(HostPoint{block.content.left, block.content.top});
    const HostPoint bottomRight = ToUserPoint(HostPoint{block.content.right, block.content.bottom});
    pattern.viewLeft = topLeft.x;
    pattern.viewTop = topLeft.y;
    pattern.viewRight = bottomRight.x;
    pattern.viewBottom = bottomRight.y;

    const auto isIdentity = Service<svc::MatrixIsIdentityFn>(svc::kMatrixIsIdentity);
    if (matrix != nullptr && isIdentity != nullptr && isIdentity(matrix) == 0) {
        const double* m = matrix->m;
        if (m[1] == 0 && m[2] == 0 && m[3] == 0 && m[5] == 0 && m[0] == m[4] && m[0] != 1.0) {
            pattern.width = RoundHalfAway(pattern.width * m[0]);
            pattern.height = RoundHalfAway(pattern.height * m[0]);
        } else {
            double svg[6];
            if (BuildSvgMatrix(svg, *matrix) == kDone)
                pattern.AddMatrix(svg[0], svg[1], svg[2], svg[3], svg[4], svg[5]);
        }
    }

    pattern.id.SetNumber(writer_->NextDefinitionNumber());
    if (writer_->BeginPattern(pattern) == 0) return kFailed;
    // The host draws the tile through the callback record while the
    // pattern's level is open, so its elements land inside the pattern.
    const HostCallbackSet* set = HostSet();
    if (set != nullptr && set->first != nullptr) {
        ++patternDepth_;
        set->first(context_->hostHandle, block.tile, set->userValue);
        --patternDepth_;
    }
    return writer_->EndPattern() != 0 ? kDone : kFailed;
}

void SVGExp::ConvertExtendedFill(SVGObject& element, const HostAttributes* attributes, const HostRect* box,
                                 const SVGUserBox* drawn) {
    element.style.mask = CRCPtr<SVGMaskInlineReference>();
    const HostTransparency* transparency = attributes != nullptr ? attributes->transparency : nullptr;
    const HostFillRecord* kind = transparency != nullptr ? transparency->kind : nullptr;
    if (kind == nullptr || kind->kind == 0 || box == nullptr || writer_ == nullptr) return;
    const bool fountain = kind->kind == kFillFountain;
    const HostFountain gradientSource = fountain ? FountainOf(*kind) : HostFountain{};
    // A mask with nothing to paint it would hide the element entirely: kinds
    // without a gradient or pattern get no mask.
    if (fountain && gradientSource.subKind != kLinearFountain && gradientSource.subKind != kRadialFountain)
        return;
    if (!fountain && !IsPatternKind(kind->kind)) return;

    SVGMask mask;
    mask.hasRegion = true;
    if (drawn != nullptr) {
        mask.x = drawn->x;
        mask.y = drawn->y;
        mask.width = drawn->width;
        mask.height = drawn->height;
    } else {
        // A path's points are rounded one by one, so its extent runs between
        // the rounded corners.
        mask.x = ToUserLength(box->left);
        mask.y = yOrigin_ - ToUserLength(box->top);
        mask.width = std::abs(ToUserLength(box->right) - mask.x);
        mask.height = std::abs(yOrigin_ - ToUserLength(box->bottom) - mask.y);
    }
    // The box is the geometry's; an outline reaches beyond it, and the mask
    // must not cut it off there.
    const int64_t reach = OutlineReach(attributes->outline);
    mask.x = Saturate(mask.x - reach);
    mask.y = Saturate(mask.y - reach);
    mask.width = Saturate(mask.width + 2 * reach);
    mask.height = Saturate(mask.height + 2 * reach);
    mask.id.SetNumber(writer_->NextDefinitionNumber());
    if (writer_->BeginMask(mask) == 0) return;

    std::string paint;
    if (fountain) {
        std::unique_ptr<SVGGradient> gradient = BuildGradient(gradientSource, *box, 1);
        if (gradient && gradientSource.subKind == kRadialFountain && transparency->centreFromBox == 0) {
            // The centre and a point on the rim, as offsets from the box's corner.
            auto& radial = static_cast<SVGGradient_Radial&>(*gradient);
            const HostPoint centre = ToUserPoint(
                HostPoint{box->left + transparency->centre[0], box->top + transparency->centre[1]});
            const HostPoint rim = ToUserPoint(
                HostPoint{box->left + transparency->centre[2], box->top + transparency->centre[3]});
            radial.cx = radial.fx = centre.x;
            radial.cy = radial.fy = centre.y;
            radial.r = RoundHalfAway(std::hypot(double(rim.x) - centre.x, double(rim.y) - centre.y));
        }
        if (gradient) {
            RegisterDefinition(*gradient);
            paint = gradient->id.Name();
        }
    } else {
        SVGPattern pattern;
        if (BuildPattern(PatternOf(*kind), *box, MatrixOf(attributes), pattern) == kDone)
            paint = pattern.id.Name();
    }

    // The mask shows the element through one rectangle painted with the
    // gradient or pattern; without that paint it would hide it all.
    if (!paint.empty()) {
        SVGRectangle cover;
        cover.x = mask.x;
        cover.y = mask.y;
        cover.width = mask.width;
        cover.height = mask.height;
        cover.style.fill = ReferenceFill(paint);
        writer_->WriteElement(cover);
        element.style.mask =
            CRCPtr<SVGMaskInlineReference>(std::make_unique<SVGMaskInlineReference>(mask.id.Name()));
    }
    writer_->EndMask();
}

}  // namespace svgf
