// The font services as entries of the host service table: plain functions
// with the table's calling convention that forward to one FontLibrary.
#ifndef HOST_MEDIA_FONT_SERVICES_H
#define HOST_MEDIA_FONT_SERVICES_H

#include <svgfilter/filter_abi.h>

#include <cstddef>
#include <functional>

#include "host/media/font_library.h"

namespace host::media {

// Stores one entry of a service table: (slot index, function).
using ServiceSetter = std::function<void(size_t index, svgf::HostServiceFn function)>;

// Makes `library` the one the font entries answer from and hands every font
// entry (0x2a4, 0x2a8, 0x27c, 0x2b0, 0x2d8, 0x228, 0x22c) to `set`. The
// entries carry no context of their own, so one library serves at a time;
// registering another takes over.
void RegisterFontServices(FontLibrary& library, const ServiceSetter& set);

// Detaches `library` if it is the one being served; the entries then answer
// failure. A library detaches itself when destroyed.
void UnregisterFontServices(const FontLibrary& library);

// For a host that wraps the entries itself (to record their calls, say):
// makes `library` the one they serve, without touching any table.
void ServeFonts(FontLibrary& library);

// The entries, of the interface's types; each answers failure (0) when no
// library is served or anything is thrown inside.
namespace font_entries {
svgf::HostHandle SVGF_CALL CreateFont(int32_t zero1, int32_t fontId, uint32_t styleFlags, int32_t size,
                                      const svgf::HostMatrix* transform, int32_t rotation,
                                      int32_t zero3);  // 0x2a4
int32_t SVGF_CALL ReleaseFont(svgf::HostHandle font);                                   // 0x2a8
int32_t SVGF_CALL FamilyName(int32_t fontId, char* buffer, uint32_t bufferSize);        // 0x27c
int32_t SVGF_CALL PairAdvance(svgf::HostHandle font, uint32_t previous, uint32_t character,
                              int32_t* advance);  // 0x2b0
int32_t SVGF_CALL GlyphOutline(svgf::HostHandle font, uint32_t character, svgf::HostHandle* glyph,
                               svgf::HostOutline** outline);    // 0x2d8
int32_t SVGF_CALL ReleaseGlyphOutline(svgf::HostHandle glyph);  // 0x228
int32_t SVGF_CALL ReleaseGlyph(svgf::HostHandle glyph);         // 0x22c
// Not an entry of the interface: PairAdvance over a whole run at once, as
// the host's own text objects measure their texts.
int32_t RunAdvances(svgf::HostHandle font, const uint16_t* text, size_t count, int32_t* advances);
}  // namespace font_entries

}  // namespace host::media

#endif  // HOST_MEDIA_FONT_SERVICES_H
