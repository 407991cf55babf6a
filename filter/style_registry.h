// The style registry: every distinct fill, outline and font of the drawing
// becomes one CSS class, numbered in order of first appearance, and at the
// end of the export one rule per class is written, in key order.
#ifndef SVGFILTER_STYLE_REGISTRY_H
#define SVGFILTER_STYLE_REGISTRY_H

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "rc_object.h"
#include "svg_style.h"
#include "svgfilter/filter_abi.h"

namespace svgf {

class WSVGWriter;
class SVGGradient;
class SVGGradient_Linear;
class SVGGradient_Radial;

// The host's colour conversion as the exporter reaches it (through the
// service table with the context's colour handle).
class HostColourServices {
  public:
    // The colour converted into the model (kColorModelRgb, kColorModelHsb).
    virtual ColorRecord ConvertColor(const ColorRecord& colour, int32_t model) = 0;

  protected:
    ~HostColourServices() = default;
};

// An opacity from 0.0 to 1.0 on the 0 to 255 scale of fills and outlines.
uint16_t OpacityByte(double opacity);

// The red, green and blue bytes of a colour record in the RGB model.
SVGColor RgbOf(const ColorRecord& rgb);

// What the registry needs of the exporter to write its rules: colours, the
// scale from host units to user units, and the gradient builders that the
// exporter also uses for fills written inline.
class StyleRegistryHost : public HostColourServices {
  public:
    // User units per host unit.
    virtual double Scale() const = 0;
    virtual void SetLinearGeometry(const HostFountain& fountain, const HostRect& box,
                                   SVGGradient_Linear& gradient) = 0;
    virtual void SetRadialGeometry(const HostFountain& fountain, const HostRect& box,
                                   SVGGradient_Radial& gradient) = 0;
    // mode 0: colour stops; 1: opacity stops.
    virtual void AddGradientStops(const HostFountain& fountain, SVGGradient& gradient, int mode) = 0;

  protected:
    ~StyleRegistryHost() = default;
};

// The fill key: the host fill record, the object's bounding box (a
// fountain's geometry depends on it) and an opacity (-1.0 for none), which
// is the whole element's when the object also has an outline.
struct SVGFillKey {
    HostFillRecord fill;        // 0
    HostRect box;               // 1668
    uint32_t opacityOfElement;  // 1684: 1 when the opacity is the whole element's
    double opacity;             // 1688
};
static_assert(sizeof(SVGFillKey) == 1696);
static_assert(offsetof(SVGFillKey, box) == 1668);
static_assert(offsetof(SVGFillKey, opacityOfElement) == 1684);
static_assert(offsetof(SVGFillKey, opacity) == 1688);

// Dash entries an outline record can hold, from byte 102 to its end.
inline constexpr int kOutlineMaxDashes = 17;
// The outline record's dash entries (count clamped to what the record holds).
std::vector<int16_t> OutlineDashes(const HostOutlineRecord& outline);

class SVGStyleRegistry {
  public:
    explicit SVGStyleRegistry(StyleRegistryHost& host);
    ~SVGStyleRegistry();
    SVGStyleRegistry(const SVGStyleRegistry&) = delete;
    SVGStyleRegistry& operator=(const SVGStyleRegistry&) = delete;

    // The class number of the record: the one an equal record already has,
    // or the next number of its kind.
    // An outline's opacity is the object's uniform transparency (-1.0 for
    // none): objects that differ only in it need classes of their own.
    int FindOrAddOutline(const HostOutlineRecord& outline, double opacity = -1.0);
    int FindOrAddFill(const SVGFillKey& key);
    // Fonts key on their vertical alignment and properties; -1 for no font.
    int FindOrAddFont(const CRCPtr<SVGFontProps>& font);

    // Writes every rule through the writer's WriteStyleRule (and gradients
    // through WriteDefinitionText): outlines, fills, fonts, each in key
    // order. 1, or 0 when the writer failed.
    int WriteClasses(WSVGWriter& writer);

    size_t OutlineCount() const { return outlines_.size(); }
    size_t FillCount() const { return fills_.size(); }
    size_t FontCount() const { return fonts_.size(); }

    // Keys with their colours already converted, so comparing never calls the host.
    struct OutlineEntry {
        HostOutlineRecord record;
        SVGColor colour;
        double opacity = -1.0;
    };
    // Only a fountain keeps its whole record (some 1.7 KB): a drawing of
    // many uniform colours keeps one small entry per colour.
    struct FillEntry {
        uint16_t kind = 0;
        uint32_t opacityOfElement = 0;
        double opacity = -1.0;
        HostRect box{};
        std::unique_ptr<const SVGFillKey> fountain;  // fountains only
        SVGColor colour;                    // uniform fills
        std::vector<SVGColor> stopColours;  // fountains, one per stop read
    };
    struct FontEntry {
        CRCPtr<SVGFontProps> font;
    };
    struct StopListEntry {
        int16_t count;
        uint16_t blend;
        uint16_t midPoint;
        std::vector<std::pair<uint16_t, SVGColor>> stops;
        // A gradient that refers to another takes its transform unless it has
        // one of its own, so a level gradient only refers to a level one.
        bool transformed = false;
    };
    struct OutlineLess {
        bool operator()(const OutlineEntry& a, const OutlineEntry& b) const;
    };
    struct FillLess {
        bool operator()(const FillEntry& a, const FillEntry& b) const;
    };
    struct FontLess {
        bool operator()(const FontEntry& a, const FontEntry& b) const;
    };
    struct StopListLess {
        bool operator()(const StopListEntry& a, const StopListEntry& b) const;
    };

  private:
    SVGColor Rgb(const ColorRecord& colour);
    FillEntry MakeFillEntry(const SVGFillKey& key);
    StopListEntry MakeStopList(const HostFountain& fountain, const std::vector<SVGColor>& colours) const;
    void WriteOutlineRule(WSVGWriter& writer, const OutlineEntry& entry, int number);
    void WriteFillRule(WSVGWriter& writer, const FillEntry& entry, int number);
    void WriteGradientRule(WSVGWriter& writer, const FillEntry& entry, int number);

    StyleRegistryHost& host_;
    std::map<OutlineEntry, int, OutlineLess> outlines_;
    std::map<FillEntry, int, FillLess> fills_;
    std::map<FontEntry, int, FontLess> fonts_;
    std::map<StopListEntry, int, StopListLess> linearStops_;
    std::map<StopListEntry, int, StopListLess> radialStops_;
};

}  // namespace svgf

#endif  // SVGFILTER_STYLE_REGISTRY_H
