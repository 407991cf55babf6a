// Text-run layout along a straight, possibly turned, baseline.
#include "host/media/text_layout.h"

#include <cmath>
#include <numbers>

#include "host/media/outline_builder.h"

namespace host::media {
namespace {

// Quarter turns get exact factors so that vertical and reversed runs stay
// on one line instead of drifting by a rounding unit.
void Direction(int32_t angle, double* c, double* s) {
    constexpr int64_t kFull = 360LL * svgf::svc::kFontRotationUnitsPerDegree;
    constexpr int64_t kQuarter = kFull / 4;
    const int64_t a = ((static_cast<int64_t>(angle) % kFull) + kFull) % kFull;
    if (a % kQuarter == 0) {
        static constexpr double kCos[4] = {1, 0, -1, 0};
        static constexpr double kSin[4] = {0, 1, 0, -1};
        *c = kCos[a / kQuarter];
        *s = kSin[a / kQuarter];
        return;
    }
    const double radians =
        static_cast<double>(a) / svgf::svc::kFontRotationUnitsPerDegree * std::numbers::pi / 180.0;
    *c = std::cos(radians);
    *s = std::sin(radians);
}

}  // namespace

std::optional<std::vector<svgf::HostPoint>> LayoutRun(FontLibrary& fonts, const FontRequest& font,
                                                      std::u16string_view text, svgf::HostPoint start,
                                                      int32_t baselineAngle) {
    // Checks the font even for an empty run, so a bad font never passes.
    if (!fonts.PairAdvance(font, u' ', u' ')) return std::nullopt;
    double c = 1.0, s = 0.0;
    Direction(baselineAngle, &c, &s);
    std::vector<svgf::HostPoint> origins;
    origins.reserve(text.size());
    int64_t distance = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i > 0) {
            std::optional<int32_t> advance = fonts.PairAdvance(font, text[i - 1], text[i]);
            if (!advance) return std::nullopt;
            distance += *advance;
        }
        svgf::HostPoint p;
        const double d = static_cast<double>(distance);
        if (!RoundToHost(start.x + d * c, &p.x) || !RoundToHost(start.y + d * s, &p.y)) return std::nullopt;
        origins.push_back(p);
    }
    return origins;
}

}  // namespace host::media

namespace host::media {
namespace {

// The font handle and one glyph's, given back however the curves end.
class HeldFont {
  public:
    HeldFont(FontLibrary& fonts, const FontRequest& font, int32_t angle)
        : fonts_(fonts), handle_(fonts.CreateFont(font.fontId, font.styleFlags, font.size, angle)) {}
    ~HeldFont() {
        if (handle_ != 0) fonts_.ReleaseFont(handle_);
    }
    HeldFont(const HeldFont&) = delete;
    HeldFont& operator=(const HeldFont&) = delete;
    svgf::HostHandle handle() const { return handle_; }

  private:
    FontLibrary& fonts_;
    svgf::HostHandle handle_;
};

}  // namespace

std::optional<std::vector<TextPath>> GlyphCurves(FontLibrary& fonts, const FontRequest& font,
                                                 std::u16string_view text,
                                                 const std::vector<svgf::HostPoint>& origins, int32_t angle) {
    if (origins.size() != text.size()) return std::nullopt;
    HeldFont held(fonts, font, angle);
    if (held.handle() == 0) return std::nullopt;
    double c = 1.0, s = 0.0;
    Direction(angle, &c, &s);
    std::vector<TextPath> paths(1);
    for (size_t i = 0; i < text.size(); ++i) {
        svgf::HostHandle glyph = 0;
        svgf::HostOutline* outline = nullptr;
        const bool found = fonts.GlyphOutline(held.handle(), text[i], &glyph, &outline);
        TextPath placed;
        bool inRange = true;
        if (found && outline != nullptr) {
            const svgf::HostPoint* points = svgf::OutlinePoints(outline);
            const uint8_t* types = svgf::OutlineTypes(outline);
            const svgf::HostPoint at = origins[i];
            for (uint16_t n = 0; n < outline->nodeCount && inRange; ++n) {
                const double x = points[n].x, y = points[n].y;
                svgf::HostPoint p;
                inRange = RoundToHost(at.x + x * c - y * s, &p.x) && RoundToHost(at.y + x * s + y * c, &p.y);
                placed.points.push_back(p);
                placed.nodeTypes.push_back(types[n]);
            }
        }
        if (glyph != 0) {
            fonts.ReleaseGlyphOutline(glyph);
            fonts.ReleaseGlyph(glyph);
        }
        if (!inRange) return std::nullopt;
        if (placed.points.empty()) continue;
        if (paths.back().points.size() + placed.points.size() > kMaxOutlineNodes) paths.emplace_back();
        TextPath& into = paths.back();
        into.points.insert(into.points.end(), placed.points.begin(), placed.points.end());
        into.nodeTypes.insert(into.nodeTypes.end(), placed.nodeTypes.begin(), placed.nodeTypes.end());
    }
    if (paths.back().points.empty()) paths.pop_back();
    return paths;
}

}  // namespace host::media
