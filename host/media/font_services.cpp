// Service table entries for the fonts. Each entry is what the module calls
// across the binary interface, so none lets an exception out: anything
// thrown inside becomes the entry's failure answer.
#include "host/media/font_services.h"

#include <type_traits>

#include "font_services_detail.h"

namespace host::media {
namespace {

namespace svc = svgf::svc;
using svgf::HostHandle;

FontLibrary* g_library = nullptr;

template <typename Result, typename Call>
Result Guarded(Result failure, Call call) {
    if (g_library == nullptr) return failure;
    try {
        return call(*g_library);
    } catch (...) {
        return failure;
    }
}

static_assert(std::is_same_v<decltype(&font_entries::CreateFont), svc::CreateFontFn>);
static_assert(std::is_same_v<decltype(&font_entries::ReleaseFont), svc::ReleaseFontFn>);
static_assert(std::is_same_v<decltype(&font_entries::FamilyName), svc::FontFamilyNameFn>);
static_assert(std::is_same_v<decltype(&font_entries::PairAdvance), svc::PairAdvanceFn>);
static_assert(std::is_same_v<decltype(&font_entries::GlyphOutline), svc::GlyphOutlineFn>);
static_assert(std::is_same_v<decltype(&font_entries::ReleaseGlyphOutline), svc::GlyphReleaseFn>);
static_assert(std::is_same_v<decltype(&font_entries::ReleaseGlyph), svc::GlyphReleaseFn>);

template <typename Fn>
svgf::HostServiceFn AsEntry(Fn fn) {
    return reinterpret_cast<svgf::HostServiceFn>(fn);
}

}  // namespace

namespace font_entries {

// A text object's transform changes no advance: the font is the object.
HostHandle SVGF_CALL CreateFont(int32_t, int32_t fontId, uint32_t styleFlags, int32_t size,
                                const svgf::HostMatrix*, int32_t rotation, int32_t) {
    return Guarded<HostHandle>(
        0, [&](FontLibrary& l) { return l.CreateFont(fontId, styleFlags, size, rotation); });
}

int32_t SVGF_CALL ReleaseFont(HostHandle font) {
    return Guarded<int32_t>(0, [&](FontLibrary& l) { return l.ReleaseFont(font) ? 1 : 0; });
}

int32_t SVGF_CALL FamilyName(int32_t fontId, char* buffer, uint32_t bufferSize) {
    return Guarded<int32_t>(0,
                            [&](FontLibrary& l) { return l.FamilyName(fontId, buffer, bufferSize) ? 1 : 0; });
}

int32_t SVGF_CALL PairAdvance(HostHandle font, uint32_t previous, uint32_t character, int32_t* advance) {
    return Guarded<int32_t>(
        0, [&](FontLibrary& l) { return l.PairAdvance(font, previous, character, advance) ? 1 : 0; });
}

int32_t RunAdvances(HostHandle font, const uint16_t* text, size_t count, int32_t* advances) {
    return Guarded<int32_t>(
        0, [&](FontLibrary& l) { return l.RunAdvances(font, text, count, advances) ? 1 : 0; });
}

int32_t SVGF_CALL GlyphOutline(HostHandle font, uint32_t character, HostHandle* glyph,
                               svgf::HostOutline** outline) {
    return Guarded<int32_t>(
        0, [&](FontLibrary& l) { return l.GlyphOutline(font, character, glyph, outline) ? 1 : 0; });
}

int32_t SVGF_CALL ReleaseGlyphOutline(HostHandle glyph) {
    return Guarded<int32_t>(0, [&](FontLibrary& l) { return l.ReleaseGlyphOutline(glyph) ? 1 : 0; });
}

int32_t SVGF_CALL ReleaseGlyph(HostHandle glyph) {
    return Guarded<int32_t>(0, [&](FontLibrary& l) { return l.ReleaseGlyph(glyph) ? 1 : 0; });
}

}  // namespace font_entries

void RegisterFontServices(FontLibrary& library, const ServiceSetter& set) {
    g_library = &library;
    set(svc::kCreateFont, AsEntry(&font_entries::CreateFont));
    set(svc::kReleaseFont, AsEntry(&font_entries::ReleaseFont));
    set(svc::kFontFamilyName, AsEntry(&font_entries::FamilyName));
    set(svc::kPairAdvance, AsEntry(&font_entries::PairAdvance));
    set(svc::kGlyphOutline, AsEntry(&font_entries::GlyphOutline));
    set(svc::kGlyphRelease1, AsEntry(&font_entries::ReleaseGlyphOutline));
    set(svc::kGlyphRelease2, AsEntry(&font_entries::ReleaseGlyph));
}

void ServeFonts(FontLibrary& library) {
    g_library = &library;
}

void UnregisterFontServices(const FontLibrary& library) {
    detail::ForgetFontLibrary(&library);
}

namespace detail {
void ForgetFontLibrary(const FontLibrary* library) {
    if (g_library == library) g_library = nullptr;
}
}  // namespace detail

}  // namespace host::media
