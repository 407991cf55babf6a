// FontBackend's shared pieces and the fixed back end, whose numbers follow
// from the request alone.
#include "platform/font_backend.h"

#include "font_backends.h"

#include <strings.h>

#include <cstring>
#include <map>

namespace platform {

FontBackend::~FontBackend() = default;

void CopyStyleFields(const LogFont& font, TextMetrics& out) {
    out.weight = font.weight;
    out.italic = font.italic;
    out.underlined = font.underline;
    out.struckOut = font.strikeOut;
    out.pitchAndFamily = font.pitchAndFamily;
    out.charSet = font.charSet;
}

void LogFont::SetFaceName(const char* text) {
    std::memset(faceName, 0, sizeof faceName);
    if (!text) return;
    std::strncpy(faceName, text, kFaceNameSize - 1);
}

namespace {

struct FixedFace {
    const char* name;
    std::uint8_t family;
};

constexpr FixedFace kFixedFaces[] = {
    {"DejaVu Sans", kFamilySwiss},
    {"DejaVu Sans Mono", kFamilyModern},
    {"DejaVu Serif", kFamilyRoman},
};

const FixedFace* FindFixedFace(const char* name) {
    if (!name[0]) return &kFixedFaces[0];
    for (const FixedFace& face : kFixedFaces) {
        if (strcasecmp(face.name, name) == 0) return &face;
    }
    return nullptr;
}

std::int32_t PixelSize(const LogFont& font) {
    const std::int64_t h = font.height < 0 ? -static_cast<std::int64_t>(font.height) : font.height;
    // GDI's default height for a height of 0.
    if (h == 0) return 16;
    return h > 100000 ? 100000 : static_cast<std::int32_t>(h);
}

}  // namespace

struct FixedFontBackend::Fonts {
    std::map<FontHandle, LogFont> live;
    FontHandle next = 1;
};

FixedFontBackend::FixedFontBackend() : fonts_(std::make_unique<Fonts>()) {}
FixedFontBackend::~FixedFontBackend() = default;

std::uint32_t FixedFontBackend::LiveFonts() const {
    return static_cast<std::uint32_t>(fonts_->live.size());
}

FontHandle FixedFontBackend::CreateFont(const LogFont& request) {
    ++createCalls_;
    LogFont copy = request;
    copy.faceName[kFaceNameSize - 1] = 0;
    const FixedFace* face = FindFixedFace(copy.faceName);
    if (!face) return 0;
    LogFont made = copy;
    made.SetFaceName(face->name);
    made.width = 0;
    made.weight = copy.weight > 550 ? 700 : 400;
    made.italic = copy.italic ? 1 : 0;
    made.underline = copy.underline ? 1 : 0;
    made.strikeOut = copy.strikeOut ? 1 : 0;
    made.outPrecision = 0;
    made.clipPrecision = 0;
    made.quality = 0;
    made.pitchAndFamily = face->family;
    const FontHandle handle = fonts_->next++;
    fonts_->live[handle] = made;
    return handle;
}

void FixedFontBackend::DestroyFont(FontHandle font) {
    fonts_->live.erase(font);
}

bool FixedFontBackend::DescribeFont(FontHandle font, LogFont& out) {
    auto it = fonts_->live.find(font);
    if (it == fonts_->live.end()) return false;
    out = it->second;
    return true;
}

bool FixedFontBackend::TextExtent(FontHandle font, const char* text, std::uint32_t length, TextSize& out) {
    auto it = fonts_->live.find(font);
    if (it == fonts_->live.end() || (!text && length)) return false;
    const std::int64_t h = PixelSize(it->second);
    const std::int64_t perByte = h / 2 + (it->second.weight > 550 ? 1 : 0);
    const std::int64_t width = perByte * length;
    out.cx = width > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(width);
    out.cy = static_cast<std::int32_t>(h);
    return true;
}

bool FixedFontBackend::Metrics(FontHandle font, TextMetrics& out) {
    auto it = fonts_->live.find(font);
    if (it == fonts_->live.end()) return false;
    const LogFont& f = it->second;
    const std::int32_t h = PixelSize(f);
    out = TextMetrics();
    out.height = h;
    out.ascent = (4 * h + 2) / 5;
    out.descent = h - out.ascent;
    out.aveCharWidth = h / 2;
    out.maxCharWidth = h;
    CopyStyleFields(f, out);
    return true;
}

bool FixedFontBackend::CaretSlope(FontHandle font, std::int32_t& rise, std::int32_t& run) {
    auto it = fonts_->live.find(font);
    if (it == fonts_->live.end()) return false;
    rise = it->second.italic ? 5 : 1;
    run = it->second.italic ? 1 : 0;
    return true;
}

void FixedFontBackend::EnumerateFaces(const LogFont& filter, const std::function<bool(const FaceInfo&)>& report) {
    char wanted[kFaceNameSize];
    std::memcpy(wanted, filter.faceName, kFaceNameSize);
    wanted[kFaceNameSize - 1] = 0;
    for (const FixedFace& face : kFixedFaces) {
        if (wanted[0] && strcasecmp(face.name, wanted) != 0) continue;
        if (!report(FaceInfo{face.name, face.family, true})) return;
    }
}

}  // namespace platform
