// Embedded fonts: the glyphs the drawing's text uses, collected per font and
// written at the end of the export as font elements with an @font-face rule.
#ifndef SVGFILTER_SVG_FONT_H
#define SVGFILTER_SVG_FONT_H

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "svg_elements.h"
#include "svg_object.h"

namespace svgf {

class WSVGWriter;

// One character's outline. It writes <glyph unicode="c"><path d="..."/></glyph>.
class SVGGlyph : public SVGObject {
  public:
    std::string Write(const SVGWriteState& state) const override;

    uint16_t code = 0;
    SVGPath outline;
};

// Glyphs by character code, in a table of 17 buckets (bucket = (code >> 4)
// mod 17). Walking it visits the buckets in turn and, within one, the most
// recently added code first; fonts are written in that order.
class SVGGlyphMap {
  public:
    static constexpr int kBuckets = 17;

    // Stores the glyph under its code; a glyph already there is replaced in place.
    void Set(std::unique_ptr<SVGGlyph> glyph);
    const SVGGlyph* Find(uint16_t code) const;
    size_t Size() const;
    bool Empty() const { return Size() == 0; }
    // The glyphs in walking order.
    std::vector<const SVGGlyph*> InOrder() const;
    void Clear();

  private:
    // Newest last within a bucket.
    std::array<std::vector<std::unique_ptr<SVGGlyph>>, kBuckets> buckets_;
};

inline constexpr uint32_t kFontStyleAll = 1;
inline constexpr uint32_t kFontStyleNormal = 2;
inline constexpr uint32_t kFontStyleItalic = 4;
inline constexpr uint32_t kFontStyleOblique = 8;
inline constexpr uint32_t kFontStyleBits = 0xF;
inline constexpr uint32_t kFontWeightBits = 0x3FFFF;

// The weight bit for 100, 200, ..., 900: bit 0, 2, ..., 16; 0 for any other weight.
uint32_t FontWeightBit(int weight);

// An embedded font. Its text is the font start tag; the writer adds the
// glyphs and the end tag.
class SVGFont : public SVGObject {
  public:
    std::string Write(const SVGWriteState& state) const override;
    // @font-face { font-family:"<id>";src:url("#<id>") format(svg)}: the
    // embedded font is a family of its own, named by its id.
    std::string FontFaceRule() const;

    std::string fullName;
    std::string secondName;
    uint32_t smallCaps = 0;
    uint32_t normalVariant = 0;
    uint32_t styleBits = 0;   // kFontStyle* bits
    uint32_t weightBits = 0;  // FontWeightBit() bits
    SVGGlyphMap glyphs;
};

// The exporter's embedded fonts, one per full name, and the current one.
class FontList {
  public:
    FontList();
    ~FontList();
    FontList(const FontList&) = delete;
    FontList& operator=(const FontList&) = delete;

    // Makes the font with the description's full name current, merging the
    // description's variants, styles and weights into it, or adds a copy of
    // the description as a new font. 1, or 0 when no font could be made.
    int FindOrAddFont(const SVGFont& description);
    // FindOrAddFont, then stores the glyph in the current font (replacing a
    // glyph of the same code). 1, or 0 when no font could be made.
    int AddGlyph(const SVGFont& description, std::unique_ptr<SVGGlyph> glyph);
    // Writes every font with its glyphs through the writer, emptying the
    // list. 1, or 0 when the writer failed.
    int WriteFonts(WSVGWriter& writer);
    void RemoveAll();

    SVGFont* Current() const { return current_; }
    // The font of that full name, or none.
    SVGFont* Find(const std::string& fullName) const;
    size_t Size() const { return fonts_.size(); }
    // The counter that numbers embedded fonts "FontID%d": its value, then one more.
    int NextFontNumber() { return counter_++; }

  private:
    std::vector<std::unique_ptr<SVGFont>> fonts_;
    SVGFont* current_ = nullptr;
    int counter_ = 0;
};

}  // namespace svgf

#endif  // SVGFILTER_SVG_FONT_H
