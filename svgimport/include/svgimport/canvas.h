// The host canvas: the output end of the import. The reader hands it
// drawing objects one at a time, in document order, and the canvas turns
// each into calls of the host's drawing table, with the object's style as
// the host's fill, outline, transparency and hyperlink records. It brackets
// groups, pushes and pops clip shapes, keeps the stack of enclosing links,
// and draws pattern tiles when the host calls back for them. It is the only
// code that calls the drawing table.
//
//   SVG::WCanvas_UDI canvas(context->hostHandle, nullptr, importHandle, &zoom,
//                           context->colourHandle, &reader, context);
//   reader.Parse(&canvas);  // the canvas gives the host its callback back when destroyed
#ifndef SVGIMPORT_CANVAS_H
#define SVGIMPORT_CANVAS_H

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "svgfilter/import_abi.h"
#include "svgimport/matrix.h"
#include "svgimport/objects.h"
#include "svgimport/picture_size.h"

namespace SVG {

class WCanvas_UDI;
struct WPatternTile;

// What draws a pattern's content into a tile: the reader. While it runs,
// the canvas draws on the tile's handle, so the reader draws the pattern
// element's children through the same canvas as always.
class WTileDrawer {
  public:
    virtual ~WTileDrawer();
    // 1 when drawn.
    virtual int32_t DrawPatternTile(const WPatternTile& tile) = 0;
};

// The record a pattern fill hands the host; the host gives it back to the
// canvas's callback when it draws the fill. The canvas stands first, where
// the callback finds it.
struct WPatternTile {
    WCanvas_UDI* canvas = nullptr;
    const WPattern* pattern = nullptr;  // its node handle names the content
    WTileDrawer* reader = nullptr;
    WMatrix matrix;  // the pattern's
};

// The abstract drawing interface. Every operation answers 1 for success,
// 0 for failure (a primitive refused by the continuation callback).
class WCanvas {
  public:
    virtual ~WCanvas();
    virtual int32_t DrawEllipse(const WEllipse& ellipse) = 0;
    virtual int32_t DrawImage(const WImage& image) = 0;
    virtual int32_t DrawText(const WText& text) = 0;
    // The advance of the text's characters along its baseline, in the
    // host units of its font size; this one guesses half the size a
    // character, a canvas over a host asks the host's own layout.
    virtual double MeasureText(const WText& text);
    // The pixel size the picture a link names declares (a file beside the
    // document or as written, a data: URI); this one knows no pictures.
    virtual std::optional<WPictureSize> PictureSize(std::string_view link);
    virtual int32_t DrawPath(const WPath& path) = 0;
    virtual int32_t DrawRectangle(const WRectangle& rectangle) = 0;
    // Two string notifications that nothing of the import sends; the
    // strings go unused (answers 1 and 0).
    virtual int32_t AcceptString(const WString& text) = 0;
    virtual int32_t DeclineString(const WString& text) = 0;
    virtual int32_t BeginGroup(const WGroup& group) = 0;
    virtual int32_t EndGroup(const WGroup& group) = 0;
    virtual int32_t BeginAnchor(const WAnchor& anchor) = 0;
    virtual int32_t EndAnchor() = 0;
    // The host asks for a pattern tile on its target handle; a canvas
    // without a host draws nothing (0).
    virtual int32_t OnHostCallback(svgf::HostHandle target, const WPatternTile* tile, svgf::HostWord value);
};

// Asked before each primitive with its value; 0 stops the primitive.
using WContinuationFn = int32_t (*)(void* value);

// The callback the canvas installs with the host: `tile` is a
// WPatternTile; 0 when it or its canvas is null, else the canvas's
// OnHostCallback.
int32_t SVGF_CALL WCanvasHostCallback(svgf::HostHandle target, uintptr_t tile, uintptr_t value);

// A fill record with the pattern tile it hands the host, if any; both
// live as long as the primitive's call.
struct WFillRecord {
    std::unique_ptr<svgf::HostFillRecord> record;
    std::unique_ptr<WPatternTile> tile;
};

class WCanvas_UDI : public WCanvas {
  public:
    // Keeps everything it is given and installs its callback record with
    // the host (drawing entry 0x108); the destructor gives the host its
    // previous record back. The drawing table (context offset 88) and the
    // service table (offset 264) are read from the context at each call.
    WCanvas_UDI(svgf::HostHandle handle, WContinuationFn continuation, void* continuationValue, WZoomMgr* zoom,
                uint32_t hostValue, WTileDrawer* reader, svgf::FilterContext* context);
    ~WCanvas_UDI() override;
    WCanvas_UDI(const WCanvas_UDI&) = delete;
    WCanvas_UDI& operator=(const WCanvas_UDI&) = delete;

    int32_t DrawEllipse(const WEllipse& ellipse) override;
    int32_t DrawImage(const WImage& image) override;
    int32_t DrawText(const WText& text) override;
    double MeasureText(const WText& text) override;
    std::optional<WPictureSize> PictureSize(std::string_view link) override;
    int32_t DrawPath(const WPath& path) override;
    int32_t DrawRectangle(const WRectangle& rectangle) override;
    int32_t AcceptString(const WString&) override { return 1; }
    int32_t DeclineString(const WString&) override { return 0; }
    int32_t BeginGroup(const WGroup& group) override;
    int32_t EndGroup(const WGroup& group) override;
    int32_t BeginAnchor(const WAnchor& anchor) override;
    int32_t EndAnchor() override;
    // Draws the tile's content on the target handle through the reader,
    // with no link around it; the handle and the links come back after.
    int32_t OnHostCallback(svgf::HostHandle target, const WPatternTile* tile, svgf::HostWord value) override;

    // The host fill record of a reference paint (a gradient's fountain or a
    // pattern's tile), or none. `first` is the primitive's box; `second`
    // the box the host receives with the fill, which a linear gradient
    // reaching beyond it widens. In mask mode (`mask` nonzero) the stops
    // are grey levels of the stops' opacities. A pattern drawn inside its
    // own tile gets a fill of kind none.
    // `levelScale` multiplies the stops' opacities in mask mode (an
    // object's own opacity over a gradient's).
    WFillRecord BuildFountainFill(const WFill_URI& paint, const svgf::HostBox& first, svgf::HostBox* second,
                                  int32_t mask, double levelScale = 1);

    // Loads the image's picture through the host's image import; 1 with the
    // two values for the image entry, 0 when it cannot be loaded.
    int32_t LoadLinkedImage(const WImage& image, svgf::HostWord* value1, svgf::HostWord* value2);
    // The picture of a data: URI in a temporary file, for the host's image
    // import; empty (with a warning) when it does not decode or cannot be
    // written.
    std::string EmbeddedPictureFile(std::string_view uri, uint32_t& format);

    // The handle drawn on: the import's, or a pattern tile's while the host
    // has one drawn.
    svgf::HostHandle CurrentHandle() const { return current_; }
    size_t AnchorDepth() const { return anchors_.size(); }
    // What the driver gave, kept for the canvas's life.
    WZoomMgr* ZoomManager() const { return zoom_; }
    uint32_t HostValue() const { return hostValue_; }

  private:
    struct Records;
    struct ClipFrame;
    // A text as the host lays it out: its frame, font, style word, size
    // and each character's advance.
    struct TextLayout {
        svgf::HostTransform transform{};
        int32_t font = 0;
        uint32_t style = 0;
        double em = 0;
        int32_t size = 0;
        std::vector<int32_t> advances;
    };
    bool LayOutText(const WText& text, TextLayout& out);

    // One drawing of an object: its fill, its outline or both, under one
    // uniform opacity (0..255).
    struct Pass {
        bool fill = true;
        bool outline = true;
        uint16_t opacity = kOpaque;
    };
    // The drawings an object's style asks for: none for an object hidden,
    // clipped away or wholly transparent; one where its paints are opaque
    // (the host has one transparency per object: the object's opacity);
    // else the fill without outline and then the outline without fill, each
    // at its paint's opacity times the object's (a part of no opacity left
    // out).
    struct Passes {
        Pass pass[2];
        int count = 0;
        const Pass* begin() const { return pass; }
        const Pass* end() const { return pass + count; }
    };
    Passes PassesOf(const WPresentation& style) const;
    // An image's one drawing, at the object's opacity.
    static Passes ImagePassesOf(const WPresentation& style);

    bool Continue() const;

    // Paints the host cannot show as they are, drawn as other objects: a
    // fill of rings (a banded radial gradient) or of tiles cell by cell (a
    // turned pattern lattice), clipped to the shape, and a stroke under an
    // uneven scale as the filled region it covers. True when the shape was
    // drawn that way; `outline` gives the shape's path on demand, `rest`
    // draws the shape itself with what `omit_` leaves of its paints.
    struct Omitted {
        bool fill = false;
        bool stroke = false;
    };
    Omitted SubstitutesOf(const WGraphicsPrimitive& shape, const svgf::HostBox& box) const;
    bool DrawSubstituted(const WGraphicsPrimitive& shape, const svgf::HostBox& box,
                         const std::function<void(std::vector<svgf::HostPoint>&, std::vector<uint8_t>&)>& outline,
                         const std::function<void()>& rest);
    void DrawBands(const WPresentation& style, const WRadialGradient& gradient, const svgf::HostBox& box);
    void DrawLattice(const WPattern& pattern, const svgf::HostBox& box);
    void ApplyStyle(const WPresentation& style, const Pass& pass, const svgf::HostBox& first, svgf::HostBox* second,
                    Records& out);
    void BuildUniformTransparency(Records& out, uint16_t opacity);
    void BuildMaskTransparency(Records& out, const WMask& mask, const svgf::HostBox& first);
    // A gradient whose stops' opacities differ: a fountain transparency of
    // their levels (times the pass's opacity) over the same geometry.
    void BuildStopTransparency(Records& out, const WFill_URI& paint, uint16_t opacity, const svgf::HostBox& first,
                               const svgf::HostBox& second);
    // Completes a fountain transparency (a mask's or a gradient's levels)
    // and makes it the primitive's; nothing without its fill.
    void TakeFountainTransparency(Records& out, std::unique_ptr<svgf::HostTransparencyRecord> record,
                                  WFillRecord fill, const WDefsObject* definition);
    void PushClipPaths(const WClippath* clip);
    void PopClipPaths(const WClippath* clip);
    void SetRadialGeometry(const WRadialGradient& gradient, const svgf::HostBox& box,
                           svgf::HostFountain& fountain) const;
    void SetLinearPad(const WLinearGradient& gradient, int32_t angle, svgf::HostBox* second,
                      svgf::HostFountain& fountain) const;
    WFillRecord BuildPatternFill(const WPattern& pattern);
    // Sends a closed path of the points with its box, the style's records
    // made over `box` and the clip around it.
    void SendPath(const WPresentation& style, const std::vector<svgf::HostPoint>& points,
                  const std::vector<uint8_t>& kinds, const svgf::HostBox& box);
    // The path entry with records already made, inside the style's clip.
    void SendPathWith(const WPresentation& style, const Records& records, uint32_t count,
                      const svgf::HostPoint* points, const uint8_t* kinds, const svgf::HostBox& box);

    template <typename Fn>
    Fn Drawing(size_t index) const;
    const svgf::HostServiceTable* Services() const;

    svgf::HostHandle current_;
    WContinuationFn continuation_;
    void* continuationValue_;
    WZoomMgr* zoom_;
    uint32_t hostValue_;
    svgf::HostCallbackRecord saved_{};
    WTileDrawer* reader_;
    svgf::HostHandle handle_;
    std::vector<WString> anchors_;
    svgf::FilterContext* context_;

    svgf::HostCallbackRecord installed_{};
    std::vector<std::unique_ptr<ClipFrame>> clips_;
    // The patterns whose tiles are being drawn, innermost last.
    std::vector<const void*> drawingTiles_;
    // The temporary files of embedded pictures, removed with the canvas.
    std::vector<std::string> pictureFiles_;
    // The sizes of linked pictures found so far, by path.
    std::map<std::string, std::optional<WPictureSize>> pictureSizes_;
    // While a shape's substitutes are drawn: what the shape itself leaves out.
    Omitted omit_;
    bool substituting_ = false;
    bool latticeWarned_ = false;
};

// The host font style word of a font: exactly one of the low 18 bits, by
// its weight code and slant. A text decoration sets no bit: this host has
// none for it (its 0x20000000 draws small capitals).
uint32_t FontStyleWord(const WFont& font);

// Linked images: the host format code of a link text by the first letter
// of its file name's extension (j: JPEG, g: GIF, p: PNG), 0 when refused.
uint32_t ImageFormatOf(std::string_view link);
// The path under which the picture is asked for: a relative link joined to
// the document's folder (after its last "/" or "\"); an absolute path or a
// link with a scheme (file:, http:, ...) as it is.
std::string LinkedImagePath(const char* document, std::string_view link);
// The module's side of a picture load: keeps what service 0x354 answers for
// the picture in the block's first result word and the fourth argument in
// its second; answers 0.
int32_t SVGF_CALL ImageLoadCallback(svgf::HostImageCallbackBlock* block, svgf::HostWord a2, svgf::HostWord picture,
                                    svgf::HostWord a4, svgf::HostWord a5, svgf::HostWord a6, svgf::HostWord a7,
                                    svgf::HostWord a8, svgf::HostWord a9);

}  // namespace SVG

#endif  // SVGIMPORT_CANVAS_H
