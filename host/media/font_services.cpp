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

HostHandle SVGF_CALL CreateFontEntry(int32_t, int32_t fontId, uint32_t styleFlags, int32_t size, int32_t,
                                     int32_t rotation, int32_t) {
    return Guarded<HostHandle>(
        0, [&](FontLibrary& l) { return l.CreateFont(fontId, styleFlags, size, rotation); });
}

int32_t SVGF_CALL ReleaseFontEntry(HostHandle font) {
    return Guarded<int32_t>(0, [&](FontLibrary& l) { return l.ReleaseFont(font) ? 1 : 0; });
}

int32_t SVGF_CALL FontFamilyNameEntry(int32_t fontId, char* buffer, uint32_t bufferSize) {
    return Guarded<int32_t>(0,
                            [&](FontLibrary& l) { return l.FamilyName(fontId, buffer, bufferSize) ? 1 : 0; });
}

int32_t SVGF_CALL PairAdvanceEntry(HostHandle font, uint32_t previous, uint32_t character, int32_t* advance) {
    return Guarded<int32_t>(
        0, [&](FontLibrary& l) { return l.PairAdvance(font, previous, character, advance) ? 1 : 0; });
}

int32_t SVGF_CALL GlyphOutlineEntry(HostHandle font, uint32_t character, HostHandle* glyph,
                                    svgf::HostOutline** outline) {
    return Guarded<int32_t>(
        0, [&](FontLibrary& l) { return l.GlyphOutline(font, character, glyph, outline) ? 1 : 0; });
}

int32_t SVGF_CALL GlyphReleaseOutlineEntry(HostHandle glyph) {
    return Guarded<int32_t>(0, [&](FontLibrary& l) { return l.ReleaseGlyphOutline(glyph) ? 1 : 0; });
}

int32_t SVGF_CALL GlyphReleaseEntry(HostHandle glyph) {
    return Guarded<int32_t>(0, [&](FontLibrary& l) { return l.ReleaseGlyph(glyph) ? 1 : 0; });
}

static_assert(std::is_same_v<decltype(&CreateFontEntry), svc::CreateFontFn>);
static_assert(std::is_same_v<decltype(&ReleaseFontEntry), svc::ReleaseFontFn>);
static_assert(std::is_same_v<decltype(&FontFamilyNameEntry), svc::FontFamilyNameFn>);
static_assert(std::is_same_v<decltype(&PairAdvanceEntry), svc::PairAdvanceFn>);
static_assert(std::is_same_v<decltype(&GlyphOutlineEntry), svc::GlyphOutlineFn>);
static_assert(std::is_same_v<decltype(&GlyphReleaseOutlineEntry), svc::GlyphReleaseFn>);
static_assert(std::is_same_v<decltype(&GlyphReleaseEntry), svc::GlyphReleaseFn>);

template <typename Fn>
svgf::HostServiceFn AsEntry(Fn fn) {
    return reinterpret_cast<svgf::HostServiceFn>(fn);
}

}  // namespace

void RegisterFontServices(FontLibrary& library, const ServiceSetter& set) {
    g_library = &library;
    set(svc::kCreateFont, AsEntry(&CreateFontEntry));
    set(svc::kReleaseFont, AsEntry(&ReleaseFontEntry));
    set(svc::kFontFamilyName, AsEntry(&FontFamilyNameEntry));
    set(svc::kPairAdvance, AsEntry(&PairAdvanceEntry));
    set(svc::kGlyphOutline, AsEntry(&GlyphOutlineEntry));
    set(svc::kGlyphRelease1, AsEntry(&GlyphReleaseOutlineEntry));
    set(svc::kGlyphRelease2, AsEntry(&GlyphReleaseEntry));
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
