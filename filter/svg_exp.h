// SVGExp: the exporter. It lives in the context from begin export to end
// export, receives the host's drawing events through the callback record and
// turns them into the SVG document through the document writer.
#ifndef SVGFILTER_SVG_EXP_H
#define SVGFILTER_SVG_EXP_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "abstract_pi.h"
#include "c_format.h"
#include "output_files.h"
#include "style_registry.h"
#include "svg_font.h"
#include "svg_id.h"
#include "svgfilter/filter_abi.h"

namespace platform {
class FileService;
class SettingsStore;
}  // namespace platform

namespace svgf {

class WSVGWriter;
class FontList;
class SVGObject;
class SVGPattern;

// The points the scratch buffer holds from the start; it grows to the
// largest path the host's 16-bit node count describes.
inline constexpr size_t kInitialPathPoints = 16000;
inline constexpr int32_t kMaxPathPoints = 0xFFFF;
// Patterns inside pattern tiles, at most.
inline constexpr int32_t kMaxPatternDepth = 8;

// The shapes the style check tells apart.
enum class ShapeKind { kPath = 0, kRectangle = 1, kEllipse = 2 };
// The style check's answer when plain SVG can write the style.
inline constexpr int32_t kPlainStyle = 100;

// The font of the last font definition, which the text's fonts use.
struct CurrentFont {
    FontRecord record{};                // the definition's five fields
    std::string family;                 // the host's family name
    HostHandle hostFont = 0;            // the host's font handle; 0 when none
    std::unique_ptr<SVGFont> embedded;  // the embedded font in use; none without embedding
    bool defined = false;               // a definition named the family: text may use it
};

// The text object a transform opened: the transform record's fields, and
// the offsets and factor of a transform simple enough for text to apply.
struct TextObject {
    TransformRecord record{};
    HostMatrix matrix{{1, 0, 0, 0, 1, 0}};
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    double factor = 1.0;
};

// Where the "Shorthand" setting lives.
inline constexpr const char* kFontSettingsKey = "SOFTWARE\\Tavix\\SVGFont";
inline constexpr const char* kShorthandValue = "Shorthand";

// The weight (100 to 900) and slant of a font's style flags: exactly one of
// the low 18 bits, bit 2k for weight 100 (k + 1) upright and bit 2k + 1 for
// it italic; any other combination is 400 upright.
void WeightAndItalic(uint32_t flags, int32_t& weight, uint32_t& italic);

class SVGExp final : public CAbstractPI, public StyleRegistryHost {
  public:
    // Files and settings default to the system's; tests hand in doubles.
    SVGExp();
    SVGExp(platform::FileService& files, platform::SettingsStore* settings);
    ~SVGExp();
    SVGExp(const SVGExp&) = delete;
    SVGExp& operator=(const SVGExp&) = delete;

    // Command 5 and command 7: 1 on success, 0 on failure.
    int32_t BeginExport(FilterContext* context);
    int32_t EndExport(FilterContext* context);

    // Queries and the host's callback set.
    int32_t QueryObjectKind(uint32_t mode, const ObjectKindQuery* query) override;
    int32_t QueryInformation(int32_t code, void* out, const void* in) override;
    int32_t SetCallbackSet(const HostCallbackSet* newSet, HostCallbackSet* previous) override;
    int32_t CallHostCallback1(HostWord ignored, HostWord argument) override;
    int32_t CallHostCallback2(HostWord ignored, HostWord argument) override;

    // Drawing structure.
    int32_t BeginDrawing() override;
    int32_t EndDrawing() override;
    int32_t BeginNamedLayer(const char* name) override;
    int32_t EndNamedLayer() override;
    int32_t BeginGroup() override;
    int32_t EndGroup() override;
    int32_t BeginObjectGroup(const void* link) override;
    int32_t BeginLink(const void* link) override;
    int32_t EndLink() override;
    // The first argument is the ClipRecord's address.
    int32_t BeginClipGroup(HostWord clip, HostWord unused) override;
    int32_t EndClipGroup() override;
    int32_t BeginTransform(const TransformRecord* transform) override;
    int32_t EndTransform() override;
    int32_t ResetFlag() override;

    // Text objects: the font, its runs, and one text element of a run
    // (svg_exp_text.cpp). Text needs a font definition and an open transform.
    int32_t DefineFont(const FontRecord* font) override;
    int32_t DrawTextRun(const TextRunRecord* run) override;
    // One text element of `count` characters at the host point (x, y); with
    // embedding, their glyphs go to the current embedded font. 0 or 100.
    int32_t BuildTextObjects(int32_t x, int32_t y, const uint16_t* characters, int32_t count);

    // Shapes: 0 written or taken over by the host, 100 refused, 202 (ellipse)
    // not handled.
    int32_t DrawPath(const PathRecord* path) override;
    int32_t DrawRectangle(const RectangleRecord* rectangle) override;
    int32_t DrawEllipse(const EllipseRecord* ellipse) override;

    // Points into the work buffer; null when there are more than
    // kMaxPathPoints or the buffer cannot grow to hold them.
    const HostPoint* ConvertPoints(const HostPoint* points, int32_t count);
    void ConvertPointsInPlace(HostPoint* points, int32_t count) const;
    HostPoint ConvertPoint(HostPoint host) const;
    // Appends the record's path data ("M10 20l20 0 0 20z"); 0, or 100 when
    // its points cannot be converted.
    int32_t FormatPathData(std::string& out, const PathRecord& path);
    // The path data of points already in user units.
    static void AppendPathData(std::string& out, const HostPoint* points, const uint8_t* types,
                               int32_t count);
    // kPlainStyle when plain SVG can write the style; 0 when the host takes
    // the object (paths and rectangles are handed to it).
    int32_t CheckPlainStyle(ShapeKind kind, const void* record, const HostAttributes* attributes);
    void HandToHost(ShapeKind kind, const void* record, const HostAttributes* attributes);

    // Styles: mask, fill and outline of a shape; the font of a text.
    // `drawn` is the element's own extent in user units where it has one
    // (rectangles and ellipses round their size, not their corners), so that
    // a mask covers exactly what the element draws.
    void ResolveStyle(SVGObject& element, const HostAttributes* attributes, const HostRect* box,
                      const SVGUserBox* drawn = nullptr);
    // True when the fill took the object's uniform transparency as the
    // opacity of the whole element (the object has an outline too), so that
    // the outline must not carry it again.
    bool ResolveFill(SVGObject& element, const HostAttributes* attributes, const HostRect* box);
    // The opacity is the object's uniform transparency (FillOpacity) where
    // the fill did not take it for the whole element.
    void ResolveOutline(SVGObject& element, const HostOutlineRecord* outline, double opacity = -1.0);
    // Where the uniform transparency goes: stroke and fill opacities would
    // blend the inner half of the outline twice over the fill, so an object
    // with an outline is made translucent as a whole.
    static double OutlineOpacity(const HostAttributes* attributes, bool fillTookIt) {
        return fillTookIt ? -1.0 : FillOpacity(attributes);
    }
    void ResolveFont(SVGObject& element);
    // The fill class of the attributes' fill (as no fill when asNoFill).
    void AddFillSelector(SVGObject& element, const HostAttributes* attributes, const HostRect* box,
                         bool asNoFill);
    // Numbers the object "id%d" from the writer's counter and writes it as a definition; 0.
    int32_t RegisterDefinition(SVGObject& object);
    // The host matrix in user units (y flipped about the page top), as SVG's
    // a b c d e f; 0, or 100 without the host's matrix services.
    int32_t BuildSvgMatrix(double out[6], const HostMatrix& host);
    // Releases the host font handle (service 0x2a8) and forgets it.
    void ReleaseHostFont();
    // (100 - level) / 100 of a uniform transparency, else -1.0.
    static double FillOpacity(const HostAttributes* attributes);
    // Whether the attributes carry an outline that draws.
    static bool HasOutline(const HostAttributes* attributes);
    // Classes (a style sheet) rather than style attributes.
    bool UsesClasses() const;

    // What the style registry asks of the exporter.
    ColorRecord ConvertColor(const ColorRecord& colour, int32_t model) override;
    double Scale() const override { return scale_; }
    void SetLinearGeometry(const HostFountain& fountain, const HostRect& box,
                           SVGGradient_Linear& gradient) override;
    void SetRadialGeometry(const HostFountain& fountain, const HostRect& box,
                           SVGGradient_Radial& gradient) override;
    void AddGradientStops(const HostFountain& fountain, SVGGradient& gradient, int mode) override;

    // Fountains of blend type 1 (downwards) and 2 (upwards): colour stops
    // walked around the hue circle from the first entry to the second.
    void BuildBlendStops(const HostFountain& fountain, SVGGradient& gradient);
    // Whether hue x lies strictly inside the arc from a to b, walking
    // downwards (direction 1) or upwards (2); never for other directions.
    static bool HueInArc(int a, int b, int x, int direction);

    // Bitmaps: the image file the host writes and the element that shows it.
    int32_t DrawBitmap(HostWord a1, HostHandle bitmap, HostWord a3, const HostRect* destination,
                       const HostMatrix* matrix, const HostRect* visible, HostWord a7, HostWord a8) override;
    // Has the host write the bitmap's file; the reference to it, or empty
    // when no file was written.
    std::string ExportBitmapFile(HostWord a1, HostHandle bitmap, HostWord a3, const HostRect& destination,
                                 const HostRect& visible, const HostRect& destination2);
    // 1 for the first image of the export; numbers are never reused.
    uint32_t NextImageNumber();
    // A pattern over the box whose tile the host draws through its first
    // callback while the pattern is open; 0, or 100 when none was written.
    int32_t BuildPattern(const HostPatternBlock& block, const HostRect& box, const HostMatrix* matrix,
                         SVGPattern& pattern);
    // Writes the shape as a numbered clip path definition and names it.
    int32_t BuildElementClipPath(std::unique_ptr<SVGObject> shape, std::string& name);

    // Coordinate conversion for the handlers: a length R(v * s), and a point
    // flipped about the page top so that user y grows downwards.
    int32_t ToUserLength(int32_t hostValue) const { return RoundHalfAway(hostValue * scale_); }
    HostPoint ToUserPoint(HostPoint host) const {
        return HostPoint{ToUserLength(host.x), yOrigin_ - ToUserLength(host.y)};
    }

    // State the handlers and tests read.
    const FilterContext* Context() const { return context_; }
    const SVGExportOptions& Options() const { return options_; }
    int32_t YOrigin() const { return yOrigin_; }
    int32_t HostTop() const { return hostTop_; }
    int32_t Nesting() const { return nesting_; }
    uint32_t SeparateFontProperties() const { return separateFontProperties_; }
    uint32_t HostDrawn() const { return hostDrawn_; }
    WSVGWriter* Writer() const { return writer_.get(); }
    SVGStyleRegistry* Registry() const { return registry_.get(); }
    FontList* Fonts() const { return fontList_.get(); }
    const ExportCallbackRecord& CallbackRecord() const { return callbackRecord_; }
    CurrentFont& Font() { return font_; }
    const TextObject& Text() const { return text_; }
    // 1 while the innermost transform has a group of its own open.
    uint32_t TransformGroupOpen() const { return !transformStack_.empty() && transformStack_.back() != 0; }

    // Host services, null when the host does not offer them.
    template <typename Fn>
    Fn Service(size_t index) const {
        return context_ == nullptr ? nullptr : service<Fn>(context_->services, index);
    }

  private:
    // Releases what a begin export made (writer and its parts, registry,
    // font list, work buffer); the host's handle and options stay.
    void ReleaseExportParts();
    void ReadShorthandSetting();
    // Fonts, class rules and the document's end: true when all were written.
    bool FinishDocument();
    // Stores the code of a file's failure in the context, unless a code is
    // there already.
    void ReportFileFailure(platform::FileCause cause);
    HostCallbackSet* HostSet() const { return context_ == nullptr ? nullptr : context_->callbackSet; }
    int32_t CallHostCallback(bool first, HostWord argument);
    int32_t QueryKind(const ObjectKindQuery& query);
    int32_t OpenAnchor(const HostLink& link);
    int32_t BuildClipPath(const ClipRecord* clip, std::string& name);
    // One per fill kind.
    void ResolveNoFill(SVGObject& element, const HostAttributes* attributes, const HostRect* box);
    void ResolveUniformFill(SVGObject& element, const HostAttributes* attributes, const HostRect* box);
    void ResolveFountainFill(SVGObject& element, const HostAttributes* attributes, const HostRect* box);
    void ResolvePatternFill(SVGObject& element, const HostAttributes* attributes, const HostRect* box);
    // How far the outline's paint reaches beyond the geometry, in user units.
    int64_t OutlineReach(const HostOutlineRecord* outline) const;
    // The mask of a transparency other than uniform.
    void ConvertExtendedFill(SVGObject& element, const HostAttributes* attributes, const HostRect* box,
                             const SVGUserBox* drawn);
    // Text.
    bool DefineEmbeddedFont();
    void CollectGlyph(uint16_t code);
    // A glyph outline's path data: user units, y up, about the glyph's origin.
    std::string GlyphPathData(const HostOutline& outline) const;
    // A linear or radial gradient over the box with colour (mode 0) or
    // opacity (mode 1) stops; null for other fountain forms.
    std::unique_ptr<SVGGradient> BuildGradient(const HostFountain& fountain, const HostRect& box, int mode);

    platform::FileService& files_;
    platform::SettingsStore* settings_;  // null: the settings in force
    // The bitmap files and their folder: in place only when the export succeeded.
    OutputFiles images_;

    ExportCallbackRecord callbackRecord_{};
    FilterContext* context_ = nullptr;
    std::unique_ptr<WSVGWriter> writer_;
    std::unique_ptr<FontList> fontList_;
    std::unique_ptr<SVGStyleRegistry> registry_;
    std::vector<HostPoint> workBuffer_;  // the converted points of one path
    uint32_t imageNumber_ = 0;  // the last image number taken
    int32_t patternDepth_ = 0;  // patterns whose tile the host is drawing
    double scale_ = 0;
    int32_t yOrigin_ = 0;
    int32_t hostTop_ = 0;
    CurrentFont font_;
    TextObject text_;
    SVGExportOptions options_{};
    uint32_t hostDrawn_ = 1;
    uint32_t separateFontProperties_ = 1;
    int32_t nesting_ = 0;
    // Group and link bookkeeping: per open group whether it also opened an
    // anchor, per link whether it opened one, and the open anchors' URLs.
    std::vector<uint32_t> groupStack_;
    std::vector<uint32_t> linkStack_;
    std::vector<std::string> urlStack_;
    // Per clip group and per transform whether its begin opened a group, and
    // the layers open, so that an end closes only what its begin opened.
    std::vector<uint32_t> clipStack_;
    std::vector<uint32_t> transformStack_;
    int32_t openLayers_ = 0;
    // One selector per class number, shared by the elements of that class.
    std::vector<std::shared_ptr<const SVGBASEID>> fillSelectors_;
    std::vector<std::shared_ptr<const SVGBASEID>> outlineSelectors_;
    std::vector<std::shared_ptr<const SVGBASEID>> fontSelectors_;
};

}  // namespace svgf

#endif  // SVGFILTER_SVG_EXP_H
