// Scenes drawn on the host canvas from drawing objects built the way the
// reader builds them (a two-inch-square document, 90 user units to the
// inch, y turned upwards), each with the SVG it stands for. The canvas
// tests keep each scene's call log as a golden file; the render tests
// export the host's drawing back to SVG and render it beside that SVG.
#ifndef TESTS_SVGIMPORT_CANVAS_FIXTURES_H
#define TESTS_SVGIMPORT_CANVAS_FIXTURES_H

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/import/import_host.h"
#include "svgimport/canvas.h"
#include "svgimport/objects.h"

namespace canvas_test {

// The scenes' documents are two inches square with a view box of 180 user
// units a side.
inline constexpr double kUser = 508000.0 / 180;  // host units per user unit
inline constexpr double kSide = 180;             // the document, in user units
inline constexpr int32_t kPage = 508000;        // and in host units

// The root matrix: user units to host units, y up from the page's foot.
inline SVG::WMatrix Root() {
    return SVG::WMatrix(kUser, 0, 0, -kUser, 0, kPage);
}

// A pattern's content, kept in its node: what the test's reader draws.
using TileContent = std::function<void(SVG::WCanvas&)>;

// Plays the reader: a current matrix, objects placed under it, and the
// import's definitions.
class Builder {
  public:
    SVG::WMatrix current = Root();
    SVG::WDefinitions definitions;

    void Push(const SVG::WMatrix& transform);
    void Pop();

    std::unique_ptr<SVG::WRectangle> Rect(double x, double y, double w, double h) const;
    std::unique_ptr<SVG::WEllipse> Ellipse(double cx, double cy, double rx, double ry) const;
    // Points in user units with their segment codes; `closed` closes the
    // path's one subpath.
    struct Step {
        int32_t segment;
        double x, y;
    };
    std::unique_ptr<SVG::WPath> Path(const std::vector<Step>& steps, bool closed) const;
    std::unique_ptr<SVG::WText> Text(double x, double y, const char* text, const char* family, double size) const;
    std::unique_ptr<SVG::WImage> Image(double x, double y, double w, double h, const char* href) const;

    // Linear and radial gradients in user units under the current matrix,
    // stops as (offset 0..1, colour, opacity 0..1).
    struct Stop {
        double offset;
        uint32_t rgb;
        double opacity = 1;
    };
    SVG::WLinearGradient* Linear(double x1, double y1, double x2, double y2, const std::vector<Stop>& stops);
    SVG::WRadialGradient* Radial(double cx, double cy, double r, const std::vector<Stop>& stops);
    // A pattern tile at (x, y) of w by h user units whose content is drawn
    // in the tile's own space (its origin at the tile's corner).
    SVG::WPattern* Pattern(double x, double y, double w, double h, TileContent content);

    // Tile content built under the pattern's matrix, as the reader's tile
    // drawing does.
    void InTile(const SVG::WPattern& pattern, const std::function<void()>& draw);

  private:
    std::vector<SVG::WMatrix> saved_;
};

std::unique_ptr<SVG::WFill> Colour(uint32_t rgb, uint16_t opacity = 255);
std::unique_ptr<SVG::WFill> Reference(const SVG::WDefsObject* definition);
std::unique_ptr<SVG::WStroke> Stroke(uint32_t rgb, double widthUser, int32_t cap = 0, int32_t join = 0);

// The test's reader for pattern tiles: the pattern's node holds the
// content.
class TileReader : public SVG::WTileDrawer {
  public:
    int32_t DrawPatternTile(const SVG::WPatternTile& tile) override;
    int tilesDrawn = 0;
};

struct Fixture {
    const char* name;
    // The SVG elements the objects stand for (inside the two-inch root).
    std::string svg;
    std::function<void(SVG::WCanvas_UDI&, Builder&)> draw;
    // Rendered beside the SVG: the share of pixels that may differ, and
    // whether only where something is drawn counts (for scenes past what
    // the host keeps).
    double tolerance = 0.01;
    bool coverageOnly = false;
};

const std::vector<Fixture>& Fixtures();

// A whole SVG document of the fixture's elements.
std::string Document(const Fixture& fixture);

// Runs `draw` with a canvas over the import host's context, inside the
// host's report as during an import; the canvas is gone when it returns.
void WithCanvas(host::StandInHost& host, const std::function<void(SVG::WCanvas_UDI&)>& draw,
                SVG::WTileDrawer* reader = nullptr, SVG::WContinuationFn continuation = nullptr,
                void* continuationValue = nullptr);

// Draws a fixture through a canvas on the import host (inside the host's
// report, as during an import).
void Play(host::StandInHost& host, host::import::ImportHost& import, const Fixture& fixture);

}  // namespace canvas_test

#endif  // TESTS_SVGIMPORT_CANVAS_FIXTURES_H
