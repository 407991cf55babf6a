// Lays out a text run the way the host reports it to the module: one origin
// per character, spaced by the font's pair advances.
#ifndef HOST_MEDIA_TEXT_LAYOUT_H
#define HOST_MEDIA_TEXT_LAYOUT_H

#include <svgfilter/filter_abi.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "host/host_fonts.h"
#include "host/media/font_library.h"

namespace host::media {

// The first origin is `start`; each next one lies the pair advance of the
// two characters further along a baseline turned by `baselineAngle`
// (millionths of a degree, counter-clockwise, y up; text turned as a whole
// passes its font's character rotation). Distances add up in exact host
// units and only each origin is rounded, so on an unturned baseline two
// neighbours differ by exactly their pair advance. Empty when the font is
// unknown or an origin leaves the 32-bit range.
std::optional<std::vector<svgf::HostPoint>> LayoutRun(FontLibrary& fonts, const FontRequest& font,
                                                      std::u16string_view text, svgf::HostPoint start,
                                                      int32_t baselineAngle);

// The characters' outlines at the origins LayoutRun gave, each turned by
// `angle` (as for LayoutRun) about its origin: text drawn as curves. Paths
// hold at most 65535 nodes and never split a glyph. Empty when the font is
// unknown, `origins` does not match the text or a node leaves the 32-bit
// range.
std::optional<std::vector<TextPath>> GlyphCurves(FontLibrary& fonts, const FontRequest& font,
                                                 std::u16string_view text,
                                                 const std::vector<svgf::HostPoint>& origins, int32_t angle);

}  // namespace host::media

#endif  // HOST_MEDIA_TEXT_LAYOUT_H
