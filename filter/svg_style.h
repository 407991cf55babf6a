// Style records of the export model (fills, outlines, fonts, mask
// references) and the CSS text each one writes. The records are shared
// between elements and the style registry through CRCPtr.
#ifndef SVGFILTER_SVG_STYLE_H
#define SVGFILTER_SVG_STYLE_H

#include <cstdint>
#include <string>
#include <vector>

namespace svgf {

struct SVGColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

// "#RRGGBB" with upper-case hexadecimal digits.
std::string ColourText(SVGColor colour);

inline constexpr uint16_t kOpaque = 255;

// A fill: its kind's text plus the fill rule and opacity common to all kinds.
class SVGFill {
  public:
    virtual ~SVGFill();
    // The CSS declarations, without braces.
    virtual std::string CssText() const = 0;

    uint32_t fillRule = 0;       // 1 nonzero, 2 inherit, anything else unwritten
    uint16_t opacity = kOpaque;  // 0 to 255
    // The opacity is the whole element's (written as opacity, not
    // fill-opacity): an outlined object is translucent as one unit, its
    // outline over its fill, not each of them on its own.
    bool opacityOfElement = false;

  protected:
    // fill-rule and fill-opacity (or opacity), or empty when both are at
    // their defaults.
    std::string CommonText() const;
    // base, then ";" and the common text when there is one.
    std::string WithCommonText(std::string base) const;
};

class SVGFill_None final : public SVGFill {
  public:
    std::string CssText() const override;
};

class SVGFill_Color final : public SVGFill {
  public:
    SVGFill_Color() = default;
    SVGFill_Color(uint8_t red, uint8_t green, uint8_t blue) { SetColor(red, green, blue); }
    void SetColor(uint8_t red, uint8_t green, uint8_t blue) { colour = {red, green, blue}; }
    std::string CssText() const override;

    SVGColor colour;
};

// A fill by a gradient or pattern defined elsewhere in the document.
class SVGFill_InlineReference final : public SVGFill {
  public:
    SVGFill_InlineReference() = default;
    explicit SVGFill_InlineReference(std::string referencedId) : id(std::move(referencedId)) {}
    std::string CssText() const override;

    std::string id;
};

// ".fil<n> {<fill text>}"
std::string FillClassRule(int number, const SVGFill& fill);
// ".fil<n> {fill:url(#<id>)[;fill-opacity:<opacity>]}"; opacity -1.0 means
// none; an opacity of the whole element is written as opacity.
std::string FillReferenceClassRule(int number, const std::string& id, double opacity,
                                   bool opacityOfElement = false);

// An outline without colour; the defaults write no text at all.
class SVGStroke {
  public:
    virtual ~SVGStroke();
    // The CSS declarations, without braces.
    virtual std::string CssText() const;

    int32_t width = 1;
    int32_t cap = 0;   // 1 round, 2 square, 3 inherit
    int32_t join = 0;  // 1 round, 2 bevel, 3 inherit
    double miterLimit = 8.0;
    std::vector<int32_t> dashes;
    int32_t dashOffset = 0;
    uint16_t opacity = kOpaque;
};

class SVGStroke_Color final : public SVGStroke {
  public:
    void SetColor(uint8_t red, uint8_t green, uint8_t blue) { colour = {red, green, blue}; }
    std::string CssText() const override;

    SVGColor colour;
};

// ".str<n> {<outline text>}"
std::string StrokeClassRule(int number, const SVGStroke& stroke);

// A reference to a mask definition.
class SVGMaskInlineReference {
  public:
    SVGMaskInlineReference() = default;
    explicit SVGMaskInlineReference(std::string maskId) : id(std::move(maskId)) {}
    std::string id;
};

// The font of a text element.
class SVGFontProps {
  public:
    // The CSS text: the "font:" shorthand, or one property per part when
    // separateProperties is set.
    std::string CssText() const;
    // The family list: names with blanks in single quotes, separated by ",".
    std::string FamilyText() const;

    int32_t size = 0;
    std::string family;        // first family name
    std::string secondFamily;  // second family name
    uint32_t secondFirst = 0;  // set: the second name is listed first
    uint32_t separateProperties = 1;
    uint32_t italic = 0;
    uint32_t smallCaps = 0;
    int32_t weight = 400;        // 100 to 900
    uint32_t verticalAlign = 0;  // 0 baseline, 1 super, other sub
};

// ";vertical-align:super" / ";vertical-align:sub", or nothing for kind 0.
std::string VerticalAlignText(uint32_t kind);

// ".fnt<n> {<font text>[;vertical-align:...]}"
std::string FontClassRule(int number, const SVGFontProps& font, uint32_t verticalAlign);

}  // namespace svgf

#endif  // SVGFILTER_SVG_STYLE_H
