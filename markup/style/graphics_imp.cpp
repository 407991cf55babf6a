// GraphicsImp: fonts, sizes, units and measuring over the platform's font
// back end.
#include "markup/style/graphics_imp.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "graphics_shared.h"
#include "truncate_to_int32.h"

namespace markup::style {

namespace {

std::int32_t ClampStep(std::int32_t step) {
    return step < 1 ? 1 : (step > 7 ? 7 : step);
}

bool SameFaceName(const char* a, const char* b) {
    for (std::uint32_t i = 0; i < platform::kFaceNameSize; ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
        if (!x) return true;
    }
    return true;
}

constexpr std::int32_t kScreenWidth = 1024;
constexpr std::int32_t kScreenHeight = 768;

}  // namespace

GraphicsImp::GraphicsImp(platform::FontBackend& backend)
    : backend_(backend), pixelsPerPoint_(backend.LogicalPixelsPerInch() * zoom_ * (1.0 / 72.0)) {
    PrepareDC(dc_);
    defaultFont_ = MakeDefault(kDefaultFontFace);
    defaultFont2_ = MakeDefault(kDefaultFontFace2);
    detail::ExchangeSharedGraphics(this);
}

GraphicsImp::~GraphicsImp() {
    DestroyFonts();
    for (auto& font : defaults_) {
        if (font->Handle()) backend_.DestroyFont(font->Handle());
    }
    screenBitmap_.reset();
    if (Graphics::Shared() == this) detail::ExchangeSharedGraphics(nullptr);
}

// The default fonts are ordinary cached fonts; when the back end cannot
// make the face (nor its own default face), a font without a handle
// stands in, which measures nothing.
Font* GraphicsImp::MakeDefault(const char* face) {
    platform::LogFont key;
    key.height = -20;
    key.weight = 400;
    key.charSet = 1;
    key.SetFaceName(face);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (Font* hit = Lookup(key)) return hit;
        if (const platform::FontHandle handle = backend_.CreateFont(key)) {
            platform::LogFont actual = key;
            if (!backend_.DescribeFont(handle, actual)) actual = key;
            if (Font* cached = Lookup(actual)) {
                backend_.DestroyFont(handle);
                return cached;
            }
            return Store(std::make_unique<Font>(handle, actual));
        }
        key.SetFaceName("");
    }
    defaults_.push_back(std::make_unique<Font>(0, key));
    return defaults_.back().get();
}

std::uint32_t GraphicsImp::BucketOf(const platform::LogFont& key) {
    return (static_cast<std::uint32_t>(key.height) >> 4) % kBuckets;
}

bool GraphicsImp::SameKey(const platform::LogFont& a, const platform::LogFont& b) {
    if (a.height != b.height || a.width != b.width || a.escapement != b.escapement ||
        a.orientation != b.orientation || a.weight != b.weight) {
        return false;
    }
    if (a.italic != b.italic || a.underline != b.underline || a.strikeOut != b.strikeOut ||
        a.charSet != b.charSet || a.outPrecision != b.outPrecision || a.clipPrecision != b.clipPrecision ||
        a.quality != b.quality || a.pitchAndFamily != b.pitchAndFamily) {
        return false;
    }
    return SameFaceName(a.faceName, b.faceName);
}

Font* GraphicsImp::Lookup(const platform::LogFont& key) const {
    const std::uint32_t bucket = BucketOf(key);
    const auto& chain = buckets_[bucket];
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (SameKey((*it)->Description(), key)) return it->get();
    }
    for (const auto& [request, font] : aliases_[bucket]) {
        if (SameKey(request, key)) return font;
    }
    return nullptr;
}

Font* GraphicsImp::Store(std::unique_ptr<Font> font) {
    auto& chain = buckets_[BucketOf(font->Description())];
    chain.push_back(std::move(font));
    return chain.back().get();
}

std::uint32_t GraphicsImp::CachedFonts() const {
    std::uint32_t count = 0;
    for (const auto& chain : buckets_) count += static_cast<std::uint32_t>(chain.size());
    return count;
}

void GraphicsImp::DestroyFonts() {
    for (auto& chain : buckets_) {
        for (auto& font : chain) backend_.DestroyFont(font->Handle());
        chain.clear();
    }
    for (auto& chain : aliases_) chain.clear();
    aliasCount_ = 0;
}

void GraphicsImp::ClearFontCache() {
    DestroyFonts();
    currentFont_ = nullptr;
    dc_.font = nullptr;
    // The defaults were cached fonts; make them again so that they stay
    // usable.
    defaultFont_ = MakeDefault(kDefaultFontFace);
    defaultFont2_ = MakeDefault(kDefaultFontFace2);
}

bool GraphicsImp::FindFamilyFace(std::uint8_t family, String& face) {
    face.Empty();
    const std::uint8_t bits = family & platform::kFamilyMask;
    if (!bits) return false;
    std::string preferred;
    if (backend_.PreferredFace(bits, preferred) && !preferred.empty()) {
        face = preferred.substr(0, platform::kFaceNameSize - 1).c_str();
        return true;
    }
    platform::LogFont filter;
    bool found = false;
    backend_.EnumerateFaces(filter, [&](const platform::FaceInfo& info) {
        if (!info.trueType || (info.pitchAndFamily & platform::kFamilyMask) != bits) return true;
        face = info.face.substr(0, platform::kFaceNameSize - 1).c_str();
        found = true;
        return false;
    });
    return found;
}

bool GraphicsImp::HasFace(const String& face) {
    platform::LogFont filter;
    filter.height = 12;
    filter.SetFaceName(face.Text());
    bool found = false;
    backend_.EnumerateFaces(filter, [&](const platform::FaceInfo& info) {
        if (!info.trueType) return true;
        found = true;
        return false;
    });
    return found;
}

Font* GraphicsImp::CreateFont(std::int32_t size, bool bold, bool italic, bool underline, bool strikeOut,
                              const String& face) {
    FontRequest request;
    request.size = size;
    request.bold = bold ? 1 : 0;
    request.italic = italic;
    request.underline = underline;
    request.strikeOut = strikeOut;
    request.face = face;
    return CreateFontFromRequest(request);
}

Font* GraphicsImp::CreateFontFromRequest(const FontRequest& request) {
    platform::LogFont key;
    // The size is a character height; the most negative size has no
    // negation and stays as it is.
    key.height = request.size == std::numeric_limits<std::int32_t>::min() ? request.size : -request.size;
    key.weight = request.bold > 0 ? 700 : 400;
    key.italic = request.italic ? 1 : 0;
    key.underline = request.underline ? 1 : 0;
    key.strikeOut = request.strikeOut ? 1 : 0;
    key.charSet = 1;
    key.SetFaceName(request.face.Text());
    return GetFont(key);
}

Font* GraphicsImp::GetFont(const platform::LogFont& logFont) {
    platform::LogFont key = logFont;
    key.faceName[platform::kFaceNameSize - 1] = 0;
    if (Font* hit = Lookup(key)) return hit;
    const auto remember = [&](Font* font) {
        if (aliasCount_ < kMostAliases) {
            aliases_[BucketOf(key)].emplace_back(key, font);
            ++aliasCount_;
        }
        return font;
    };
    const platform::FontHandle handle = backend_.CreateFont(key);
    if (!handle) return defaultFont_ ? remember(defaultFont_) : nullptr;
    platform::LogFont actual = key;
    if (!backend_.DescribeFont(handle, actual)) actual = key;
    Font* font = Lookup(actual);
    if (font) {
        backend_.DestroyFont(handle);
    } else {
        font = Store(std::make_unique<Font>(handle, actual));
    }
    return SameKey(key, actual) ? font : remember(font);
}

std::int32_t GraphicsImp::ItalicOverhang(const FontRequest& request) {
    if (!request.italic) return 0;
    Font* font = CreateFontFromRequest(request);
    SelectFont(font);
    std::int32_t rise = 1;
    std::int32_t run = 0;
    if (!font || !backend_.CaretSlope(font->Handle(), rise, run)) rise = 0;
    std::int32_t overhang = 0;
    if (rise != 0) overhang = detail::TruncateToInt32(static_cast<double>(static_cast<std::int64_t>(request.size) * run / rise));
    if (overhang == 0) overhang = request.size / 6;
    return overhang;
}

namespace {

// Each coordinate of a rectangle, size or point through one conversion.
template <class Convert>
void EachCoordinate(GraphicsRect& rect, Convert convert) {
    rect = GraphicsRect{convert(rect.left), convert(rect.top), convert(rect.right), convert(rect.bottom)};
}

template <class Convert>
void EachCoordinate(GraphicsSize& size, Convert convert) {
    size = GraphicsSize{convert(size.cx), convert(size.cy)};
}

template <class Convert>
void EachCoordinate(GraphicsPoint& point, Convert convert) {
    point = GraphicsPoint{convert(point.x), convert(point.y)};
}

}  // namespace

void GraphicsImp::ToDevice(GraphicsRect& rect) {
    EachCoordinate(rect, [this](std::int32_t v) { return ToDevice(v); });
}

void GraphicsImp::ToDevice(GraphicsSize& size) {
    EachCoordinate(size, [this](std::int32_t v) { return ToDevice(v); });
}

void GraphicsImp::ToDevice(GraphicsPoint& point) {
    EachCoordinate(point, [this](std::int32_t v) { return ToDevice(v); });
}

void GraphicsImp::ToLogical(GraphicsRect& rect) {
    EachCoordinate(rect, [this](std::int32_t v) { return ToLogical(v); });
}

void GraphicsImp::ToLogical(GraphicsSize& size) {
    EachCoordinate(size, [this](std::int32_t v) { return ToLogical(v); });
}

void GraphicsImp::ToLogical(GraphicsPoint& point) {
    EachCoordinate(point, [this](std::int32_t v) { return ToLogical(v); });
}

std::int32_t GraphicsImp::FontSizeStep(std::int32_t pixels) {
    const std::int64_t points = detail::TruncateToInt32(pixels / pixelsPerPoint_);
    std::int32_t best = 1;
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    for (std::int32_t step = 1; step <= 7; ++step) {
        const std::int64_t distance = std::llabs(points - kFontStepPoints[step - 1]);
        if (distance < bestDistance) {
            best = step;
            bestDistance = distance;
        }
    }
    return best;
}

std::int32_t GraphicsImp::FontSizeLogical(std::int32_t step) {
    return kFontStepPoints[ClampStep(step) - 1] * backend_.LogicalPixelsPerInch() / 72;
}

std::int32_t GraphicsImp::FontSizePixels(std::int32_t step) {
    return detail::TruncateToInt32(kFontStepPoints[ClampStep(step) - 1] * pixelsPerPoint_);
}

std::int32_t GraphicsImp::InchesToUnits(float value) {
    return detail::TruncateToInt32(value * (cssUnits_ ? kCssPixelsPerInch : kUnitsPerInch));
}

std::int32_t GraphicsImp::CentimetresToUnits(float value) {
    return detail::TruncateToInt32(value * (cssUnits_ ? kCssPixelsPerCentimetre : kUnitsPerCentimetre));
}

std::int32_t GraphicsImp::MillimetresToUnits(float value) {
    return detail::TruncateToInt32(value * (cssUnits_ ? kCssPixelsPerMillimetre : kUnitsPerMillimetre));
}

std::int32_t GraphicsImp::PointsToUnits(float value) {
    return detail::TruncateToInt32(value * (cssUnits_ ? kCssPixelsPerPoint : kUnitsPerPoint));
}

std::int32_t GraphicsImp::PicasToUnits(float value) {
    return detail::TruncateToInt32(value * (cssUnits_ ? kCssPixelsPerPica : kUnitsPerPica));
}

std::int32_t GraphicsImp::PixelsToUnits(float value) {
    return ToDevice(detail::TruncateToInt32(value));
}

std::int32_t GraphicsImp::EmsToUnits(float value) {
    return detail::TruncateToInt32(value * kUnitsPerPica);
}

std::int32_t GraphicsImp::ExsToUnits(float value) {
    return detail::TruncateToInt32(value * 85 * kUnitsPerPoint);
}

std::int32_t GraphicsImp::Distance(GraphicsPoint p, GraphicsPoint q) {
    const double dx = static_cast<double>(p.x) - q.x;
    const double dy = static_cast<double>(p.y) - q.y;
    return detail::TruncateToInt32(std::floor(std::sqrt(dx * dx + dy * dy)));
}

GraphicsSize GraphicsImp::TextExtent(const char* text, std::int32_t length, const Font* font) {
    if (!font) font = defaultFont_;
    SelectFont(font);
    GraphicsSize size;
    if (!text) return size;
    const std::uint32_t count = length < 0 ? static_cast<std::uint32_t>(std::strlen(text))
                                           : static_cast<std::uint32_t>(length);
    platform::TextSize measured;
    if (font && font->Handle() && backend_.TextExtent(font->Handle(), text, count, measured)) {
        size.cx = measured.cx;
        size.cy = measured.cy;
    }
    return size;
}

bool GraphicsImp::TextMetrics(const Font* font, platform::TextMetrics& out) {
    if (!font) font = defaultFont_;
    SelectFont(font);
    return font && font->Handle() && backend_.Metrics(font->Handle(), out);
}

const ScreenBitmap& GraphicsImp::GetScreenBitmap() {
    if (!screenBitmap_) {
        screenBitmap_ = std::make_unique<ScreenBitmap>();
        screenBitmap_->width = kScreenWidth;
        screenBitmap_->height = kScreenHeight;
        screenBitmap_->planes = 1;
        screenBitmap_->bitsPerPixel = 32;
    }
    return *screenBitmap_;
}

void GraphicsImp::ReleaseScreenBitmap() {
    screenBitmap_.reset();
}

void GraphicsImp::PrepareDC(DeviceContext& dc) {
    dc.mapMode = DeviceContext::kMapText;
    dc.viewportExtent.cy = -dc.viewportExtent.cy;
}

void GraphicsImp::SelectFont(const Font* font) {
    if (font == currentFont_) return;
    if (font && font->Handle()) dc_.font = font;
    currentFont_ = font;
}

std::uint32_t GraphicsImp::RGBToHLS(std::uint32_t colour) {
    const std::int32_t r = colour & 0xFF;
    const std::int32_t g = (colour >> 8) & 0xFF;
    const std::int32_t b = (colour >> 16) & 0xFF;
    const std::int32_t high = std::max(r, std::max(g, b));
    const std::int32_t low = std::min(r, std::min(g, b));
    const std::int32_t l = ((high + low) * 255 + 255) / 510;
    std::int32_t h = 170;
    std::int32_t s = 0;
    if (high != low) {
        const std::int32_t spread = high - low;
        const std::int32_t d = l <= 127 ? high + low : 510 - high - low;
        s = (spread * 255 + d / 2) / d;
        const std::int32_t rd = ((high - r) * 42 + spread / 2) / spread;
        const std::int32_t gd = ((high - g) * 42 + spread / 2) / spread;
        const std::int32_t bd = ((high - b) * 42 + spread / 2) / spread;
        if (high == r) {
            h = bd - gd;
        } else if (high == g) {
            h = 85 + rd - bd;
        } else {
            h = 170 + gd - rd;
        }
        if (h < 0) h += 255;
        if (h > 255) h -= 255;
    }
    return static_cast<std::uint32_t>(h) | (static_cast<std::uint32_t>(l) << 8) |
           (static_cast<std::uint32_t>(s) << 16);
}

namespace {

std::int32_t HueValue(std::int32_t m1, std::int32_t m2, std::int32_t hue) {
    // The hue wraps as a 16-bit number, so a negative hue is large and
    // lands on m1.
    std::uint32_t h = static_cast<std::uint16_t>(hue);
    if (h > 255) h -= 255;
    const auto x = static_cast<std::int32_t>(h);
    if (x < 42) return m1 + ((m2 - m1) * x + 21) / 42;
    if (x < 127) return m2;
    if (x < 170) return m1 + ((m2 - m1) * (170 - x) + 21) / 42;
    return m1;
}

std::uint32_t Channel(std::int32_t v) {
    const std::int32_t scaled = (v * 255 + 127) / 255;
    return static_cast<std::uint32_t>(scaled < 0 ? 0 : (scaled > 255 ? 255 : scaled));
}

}  // namespace

std::uint32_t GraphicsImp::HLSToRGB(std::uint32_t hue, std::uint32_t lightness, std::uint32_t saturation) {
    // Components are bytes; larger arguments keep their low byte.
    const std::int32_t h = static_cast<std::int32_t>(hue & 0xFF);
    const std::int32_t l = static_cast<std::int32_t>(lightness & 0xFF);
    const std::int32_t s = static_cast<std::int32_t>(saturation & 0xFF);
    if (s == 0) {
        const auto grey = static_cast<std::uint32_t>(l * 255 / 255);
        return grey | (grey << 8) | (grey << 16);
    }
    const std::int32_t m2 = l <= 127 ? (l * (255 + s) + 127) / 255 : l + s - (l * s + 127) / 255;
    const std::int32_t m1 = 2 * l - m2;
    const std::uint32_t r = Channel(HueValue(m1, m2, h + 85));
    const std::uint32_t g = Channel(HueValue(m1, m2, h));
    const std::uint32_t b = Channel(HueValue(m1, m2, h - 85));
    return r | (g << 8) | (b << 16);
}

GraphicsRect GraphicsImp::HandleRect(const GraphicsRect& rect, std::int32_t which) {
    const std::int32_t cx = rect.left + detail::TruncateToInt32((static_cast<double>(rect.right) - rect.left) / 2);
    const std::int32_t cy = rect.top + detail::TruncateToInt32((static_cast<double>(rect.bottom) - rect.top) / 2);
    GraphicsPoint p;
    switch (which) {
        case 0: p = {rect.left, rect.top}; break;
        case 1: p = {cx, rect.top}; break;
        case 2: p = {rect.right, rect.top}; break;
        case 3: p = {rect.right, cy}; break;
        case 4: p = {rect.right, rect.bottom}; break;
        case 5: p = {cx, rect.bottom}; break;
        case 6: p = {rect.left, rect.bottom}; break;
        case 7: p = {rect.left, cy}; break;
        default: return GraphicsRect();
    }
    return GraphicsRect{p.x - 2, p.y - 2, p.x + 2, p.y + 2};
}

String GraphicsImp::CompactPath(const String& text, const GraphicsRect& rect, DeviceContext& dc) {
    const Font* font = dc.font ? dc.font : defaultFont_;
    const std::int64_t limit = static_cast<std::int64_t>(rect.right) - rect.left;
    auto width = [&](const std::string& s) -> std::int64_t {
        platform::TextSize size;
        if (!font || !font->Handle() ||
            !backend_.TextExtent(font->Handle(), s.data(), static_cast<std::uint32_t>(s.size()), size)) {
            return 0;
        }
        return size.cx;
    };
    static const std::string kMarker = "\\...\\";
    std::string s(text.Text(), text.Length());
    while (!s.empty() && width(s) > limit) {
        const std::size_t last = s.rfind('\\');
        std::string next;
        if (last != std::string::npos) {
            const std::string tail = s.substr(last + 1);
            const std::size_t marker = s.find(kMarker);
            if (marker == std::string::npos) {
                const std::size_t before = last == 0 ? std::string::npos : s.rfind('\\', last - 1);
                if (before != std::string::npos) next = s.substr(0, before) + kMarker + tail;
            } else if (marker > 0) {
                const std::size_t before = s.rfind('\\', marker - 1);
                if (before != std::string::npos) next = s.substr(0, before) + kMarker + tail;
            }
        }
        // Each marker step takes one more component before the marker;
        // when none is left the text loses its last character, so the loop
        // always ends.
        if (next.empty() || next == s) {
            s.pop_back();
        } else {
            s = next;
        }
    }
    String out;
    out.Append(s.data(), static_cast<std::uint32_t>(s.size()));
    return out;
}

}  // namespace markup::style
