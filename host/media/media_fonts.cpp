// The host's fonts over the font library, and their service entries.
#include "host/media/media_fonts.h"

#include "host/media/font_services.h"
#include "host/media/text_layout.h"
#include "host/service_registry.h"

namespace host {

std::unique_ptr<HostFonts> MakeHostFonts() {
    try {
        return std::make_unique<media::MediaFonts>();
    } catch (const std::exception&) {
        return nullptr;
    }
}

void RegisterFontServices(ServiceRegistry& registry) {
    namespace svc = svgf::svc;
    namespace entries = media::font_entries;
    registry.Add<svc::kCreateFont, &entries::CreateFont>("CreateFont");
    registry.Add<svc::kReleaseFont, &entries::ReleaseFont>("ReleaseFont");
    registry.Add<svc::kFontFamilyName, &entries::FamilyName>("FontFamilyName");
    registry.Add<svc::kPairAdvance, &entries::PairAdvance>("PairAdvance");
    registry.Add<svc::kGlyphOutline, &entries::GlyphOutline>("GlyphOutline");
    registry.Add<svc::kGlyphRelease1, &entries::ReleaseGlyphOutline>("ReleaseGlyphOutline");
    registry.Add<svc::kGlyphRelease2, &entries::ReleaseGlyph>("ReleaseGlyph");
}

namespace media {

int32_t MediaFonts::FontId(const std::string& family) {
    auto [at, added] = ids_.try_emplace(family, static_cast<int32_t>(ids_.size()) + 1);
    if (added) library_.AddFont(at->second, family);
    return at->second;
}

std::optional<std::vector<svgf::HostPoint>> MediaFonts::Layout(int32_t fontId, uint32_t styleFlags,
                                                               int32_t size, std::u16string_view text,
                                                               svgf::HostPoint start, int32_t angle) {
    return LayoutRun(library_, FontRequest{fontId, styleFlags, size}, text, start, angle);
}

std::optional<std::vector<TextPath>> MediaFonts::Curves(int32_t fontId, uint32_t styleFlags, int32_t size,
                                                        std::u16string_view text,
                                                        const std::vector<svgf::HostPoint>& origins,
                                                        int32_t angle) {
    return GlyphCurves(library_, FontRequest{fontId, styleFlags, size}, text, origins, angle);
}

void MediaFonts::Serve() {
    ServeFonts(library_);
}

}  // namespace media
}  // namespace host
