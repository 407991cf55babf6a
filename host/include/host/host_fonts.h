// The host's fonts as its text objects need them: a table of font ids by
// family, the layout of a run with the fonts' own advances, and the font
// services the module calls (font handles, family names, pair advances,
// glyph outlines and their releases). A host built without the font
// libraries has no fonts: MakeHostFonts answers null and the service table
// leaves the font entries empty, so the module's font requests fail.
#ifndef HOST_HOST_FONTS_H
#define HOST_HOST_FONTS_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "svgfilter/filter_abi.h"

namespace host {

class ServiceRegistry;

// Glyph outlines as one path in the host path form: points (host units, y
// up) and one node type per point.
struct TextPath {
    std::vector<svgf::HostPoint> points;
    std::vector<uint8_t> nodeTypes;
};

class HostFonts {
  public:
    virtual ~HostFonts();

    // The id under which the family is in the font table; one family, one id.
    virtual int32_t FontId(const std::string& family) = 0;
    // One origin per character: the first at `start`, each next one the
    // pair advance further along a baseline turned by `angle` (millionths
    // of a degree, counter-clockwise). Empty when the font cannot be used.
    virtual std::optional<std::vector<svgf::HostPoint>> Layout(int32_t fontId, uint32_t styleFlags,
                                                               int32_t size, std::u16string_view text,
                                                               svgf::HostPoint start, int32_t angle) = 0;
    // The outlines of the characters, each placed at its origin and turned
    // by `angle` about it, for text drawn as curves: paths of at most 65535
    // nodes, a glyph never split between two. Characters without a glyph
    // add nothing. Empty when the font cannot be used.
    virtual std::optional<std::vector<TextPath>> Curves(int32_t fontId, uint32_t styleFlags, int32_t size,
                                                        std::u16string_view text,
                                                        const std::vector<svgf::HostPoint>& origins,
                                                        int32_t angle) = 0;
    // Makes these fonts the ones the font services answer from.
    virtual void Serve() = 0;
};

// The host's fonts, or null when this build has none or the font libraries
// cannot start.
std::unique_ptr<HostFonts> MakeHostFonts();

// Registers the font services (recorded like every other service) when this
// build has fonts; they answer from the fonts of the host that is current.
void RegisterFontServices(ServiceRegistry& registry);

}  // namespace host

#endif  // HOST_HOST_FONTS_H
