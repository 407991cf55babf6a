// The stand-in host's fonts: a table of the font ids a drawing refers to,
// resolved to font files, and the font services the module calls (font
// handles, family names, pair advances, glyph outlines) answered from those
// files. Every handle handed out is counted so that callers can check that
// the module gave each one back.
#ifndef HOST_MEDIA_FONT_LIBRARY_H
#define HOST_MEDIA_FONT_LIBRARY_H

#include <svgfilter/filter_abi.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace host::media {

struct FontStyle {
    int weight = 400;  // 100 to 900
    bool italic = false;
    bool operator==(const FontStyle&) const = default;
};

// The weight and italic a font record's style flags select: exactly one of
// the low 18 bits, bit 2k for weight 100 (k + 1) upright and bit 2k + 1 for
// it italic. Any other combination selects nothing.
std::optional<FontStyle> StyleFromFlags(uint32_t styleFlags);

// What a font id and style came to: the family the font file calls itself,
// and the file.
struct ResolvedFont {
    std::string family;
    std::string file;
    int faceIndex = 0;
};

struct HandleCounts {
    uint32_t fontsCreated = 0;
    uint32_t fontsReleased = 0;
    uint32_t glyphsCreated = 0;
    uint32_t glyphOutlinesReleased = 0;  // first release step
    uint32_t glyphsReleased = 0;         // second release step
    uint32_t LiveFonts() const { return fontsCreated - fontsReleased; }
    uint32_t LiveGlyphs() const { return glyphsCreated - glyphsReleased; }
    // Every handle came back, and every glyph went through both steps.
    bool Balanced() const {
        return LiveFonts() == 0 && LiveGlyphs() == 0 && glyphOutlinesReleased == glyphsReleased;
    }
};

// A font as a text run uses it, without a handle.
struct FontRequest {
    int32_t fontId = 0;
    uint32_t styleFlags = 0;
    int32_t size = 0;  // em size in host units
};

// Sizes above this (1000 inches) are refused, which keeps every coordinate
// of an outline well inside 32 bits.
inline constexpr int32_t kMaxFontSize = 254000 * 1000;

class FontLibrary {
  public:
    // Throws std::runtime_error when FreeType or fontconfig cannot start.
    FontLibrary();
    ~FontLibrary();
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    // Enters a font id into the table (replacing an earlier entry). The style
    // is used where the module's style flags select none. Family names that
    // no installed font carries fall back to DejaVu, so the same drawing lays
    // out the same way on every machine with those fonts.
    void AddFont(int32_t fontId, std::string family, FontStyle style = {});
    bool HasFont(int32_t fontId) const;
    std::optional<ResolvedFont> Resolve(int32_t fontId, uint32_t styleFlags);

    // The services. Failures answer 0 / false and change nothing.
    // The character rotation is accepted but changes no answer: outlines
    // stay upright and advances run along the baseline; turning the glyphs
    // is the module's part.
    svgf::HostHandle CreateFont(int32_t fontId, uint32_t styleFlags, int32_t size, int32_t rotation);
    bool ReleaseFont(svgf::HostHandle font);
    // Writes the family name with its terminating zero; a buffer too small
    // for the whole name fails rather than cutting it.
    bool FamilyName(int32_t fontId, char* buffer, uint32_t bufferSize);
    // The advance from `previous` to `character` in host units: the previous
    // character's advance width plus the pair's kerning.
    bool PairAdvance(svgf::HostHandle font, uint32_t previous, uint32_t character, int32_t* advance);
    std::optional<int32_t> PairAdvance(const FontRequest& font, uint32_t previous, uint32_t character);
    // PairAdvance for each character of a run and the one after it (0 after
    // the last), the font found once and each character's glyph and width
    // read once: a text of a megabyte asks for a million advances.
    bool RunAdvances(svgf::HostHandle font, const uint16_t* text, size_t count, int32_t* advances);
    // The character's outline in the host path form, host units, y up, the
    // glyph origin at (0, 0). A character the font has no glyph for answers
    // false; a blank glyph answers true with an outline of no nodes.
    bool GlyphOutline(svgf::HostHandle font, uint32_t character, svgf::HostHandle* glyph,
                      svgf::HostOutline** outline);
    // The two release steps of a glyph, in this order: the first frees the
    // outline, the second the handle. The second alone also frees
    // everything, but leaves the counts unbalanced so the slip shows.
    bool ReleaseGlyphOutline(svgf::HostHandle glyph);
    bool ReleaseGlyph(svgf::HostHandle glyph);

    HandleCounts Counts() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace host::media

#endif  // HOST_MEDIA_FONT_LIBRARY_H
