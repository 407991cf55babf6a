// Paints drawn as other objects where the host's own records fall short:
// a radial gradient that is an ellipse or has its focus off the centre
// (rings of uniform colour), a pattern whose lattice is turned or skewed
// (its content drawn once per cell, each cell clipped), both clipped to
// the shape; and a stroke under a map that scales unevenly (the region it
// covers, filled). The shape itself then goes with the paints left.
#include <cmath>
#include <string>

#include "canvas_detail.h"
#include "platform/messages.h"
#include "radial_bands.h"
#include "stroke_outline.h"
#include "svgimport/svg_import_handle.h"

namespace SVG {

namespace {

// Cells of a turned pattern drawn one by one at most; past them the host's
// upright tiles stand in.
constexpr double kMostCells = 2500;

const WDefsObject* FillDefinition(const WPresentation& style) {
    const WFill* fill = style.fill.get();
    if (fill == nullptr || fill->kind() != paint::kUri) return nullptr;
    return static_cast<const WFill_URI&>(*fill).definition;
}

// The range of lattice steps whose cells meet the box.
struct CellRange {
    double i0 = 0, i1 = 0, j0 = 0, j1 = 0;
    double Count() const { return (i1 - i0) * (j1 - j0); }
};

bool CellsOver(const WPattern::Lattice& lattice, const svgf::HostBox& box, CellRange& out) {
    WMatrix cell(lattice.across.x, lattice.across.y, lattice.down.x, lattice.down.y, lattice.origin.x,
                 lattice.origin.y);
    if (cell.Invert() == 0) return false;
    const WPoint corners[4] = {{static_cast<double>(box.left), static_cast<double>(box.top)},
                               {static_cast<double>(box.right), static_cast<double>(box.top)},
                               {static_cast<double>(box.right), static_cast<double>(box.bottom)},
                               {static_cast<double>(box.left), static_cast<double>(box.bottom)}};
    double lowI = INFINITY, highI = -INFINITY, lowJ = INFINITY, highJ = -INFINITY;
    for (const WPoint& corner : corners) {
        const WPoint at = cell.Transform(corner);
        lowI = std::min(lowI, at.x);
        highI = std::max(highI, at.x);
        lowJ = std::min(lowJ, at.y);
        highJ = std::max(highJ, at.y);
    }
    if (!std::isfinite(lowI) || !std::isfinite(highI) || !std::isfinite(lowJ) || !std::isfinite(highJ))
        return false;
    out = {std::floor(lowI), std::ceil(highI), std::floor(lowJ), std::ceil(highJ)};
    return true;
}

}  // namespace

WCanvas_UDI::Omitted WCanvas_UDI::SubstitutesOf(const WGraphicsPrimitive& shape, const svgf::HostBox& box) const {
    Omitted out;
    const WPresentation& style = shape.presentation;
    // A mask's transparency lies over the whole object: it stays one.
    if (substituting_ || !style.visible || style.mask != nullptr ||
        (style.clipPath != nullptr && style.clipPath->clipsAll))
        return out;
    if (const WDefsObject* definition = FillDefinition(style)) {
        if (definition->kind() == kind::kRadialGradient) {
            out.fill = static_cast<const WRadialGradient&>(*definition).banded.has_value();
        } else if (definition->kind() == kind::kPattern) {
            const auto& pattern = static_cast<const WPattern&>(*definition);
            CellRange cells;
            out.fill = pattern.lattice && reader_ != nullptr && CellsOver(*pattern.lattice, box, cells) &&
                       cells.Count() <= kMostCells;
        }
    }
    // Dashes keep the host's outline: its record dashes in line widths.
    if (const WStroke* stroke = style.stroke.get()) out.stroke = stroke->dashes.empty() && ScalesUnevenly(shape.matrix);
    return out;
}

bool WCanvas_UDI::DrawSubstituted(
    const WGraphicsPrimitive& shape, const svgf::HostBox& box,
    const std::function<void(std::vector<svgf::HostPoint>&, std::vector<uint8_t>&)>& outline,
    const std::function<void()>& rest) {
    const WPresentation& style = shape.presentation;
    if (const WDefsObject* definition = FillDefinition(style);
        !substituting_ && definition != nullptr && definition->kind() == kind::kPattern) {
        // Say once that a turned lattice too large to draw cell by cell
        // stands upright.
        const auto& pattern = static_cast<const WPattern&>(*definition);
        CellRange cells;
        if (pattern.lattice && !latticeWarned_ && CellsOver(*pattern.lattice, box, cells) &&
            cells.Count() > kMostCells) {
            latticeWarned_ = true;
            const std::string document = context_ != nullptr && context_->fileName != nullptr ? context_->fileName : "";
            platform::ShowMessage(platform::MessageKind::Warning, svgf::kImportCaption,
                                  document + ": a turned pattern covers too many tiles; its tiles stand upright");
        }
    }
    const Omitted substitutes = SubstitutesOf(shape, box);
    if (!substitutes.fill && !substitutes.stroke) return false;

    std::vector<svgf::HostPoint> points;
    std::vector<uint8_t> kinds;
    outline(points, kinds);
    if (points.empty() || points.size() != kinds.size()) return false;
    WOutlinePath pen;
    if (substitutes.stroke) {
        const WStroke& stroke = *style.stroke;
        const double scale = std::sqrt(std::fabs(shape.matrix.a * shape.matrix.d - shape.matrix.b * shape.matrix.c));
        if (scale > 0) {
            pen = StrokeOutline(points, kinds, shape.matrix,
                                {stroke.width / scale, stroke.cap, stroke.join, stroke.miterLimit});
        }
        if (pen.points.empty() && !substitutes.fill) return false;
    }
    const bool strokeDrawn = !pen.points.empty();

    substituting_ = true;
    if (substitutes.fill) {
        PushClipPaths(style.clipPath.get());
        WClippath own;
        auto path = std::make_unique<WPath>();
        path->points = points;
        path->kinds = kinds;
        path->presentation.clipEvenOdd = style.evenOdd;
        own.shapes.push_back(std::move(path));
        PushClipPaths(&own);
        const WDefsObject* definition = FillDefinition(style);
        if (definition->kind() == kind::kRadialGradient) {
            DrawBands(style, static_cast<const WRadialGradient&>(*definition), box);
        } else {
            DrawLattice(static_cast<const WPattern&>(*definition), box);
        }
        PopClipPaths(&own);
        PopClipPaths(style.clipPath.get());
    }
    // The shape with the paints left to it.
    const bool fillLeft = style.fill != nullptr && !substitutes.fill;
    const bool strokeLeft = style.stroke != nullptr && !strokeDrawn;
    if (fillLeft || strokeLeft) {
        omit_ = {!fillLeft, !strokeLeft};
        rest();
        omit_ = {};
    }
    if (strokeDrawn) {
        WPresentation filled;
        auto colour = std::make_unique<WFill_Color>();
        colour->colour = style.stroke->colour;
        colour->opacity = style.stroke->opacity;
        filled.fill = std::move(colour);
        filled.opacity = style.opacity;
        PushClipPaths(style.clipPath.get());
        SendPath(filled, pen.points, pen.kinds, detail::BoxOf(pen.points));
        PopClipPaths(style.clipPath.get());
    }
    substituting_ = false;
    return true;
}

void WCanvas_UDI::DrawBands(const WPresentation& style, const WRadialGradient& gradient, const svgf::HostBox& box) {
    const double paintOpacity = style.fill != nullptr ? style.fill->opacity / 255.0 : 1.0;
    bool opaque = paintOpacity >= 1 && style.opacity >= 1;
    const WStopMap& stops = gradient.banded->stops;
    for (const WStop& stop : stops) opaque = opaque && stop.value.opacity == kOpaque;
    for (WBand& band : RadialBands(*gradient.banded, stops, box, opaque)) {
        WPresentation ring;
        auto colour = std::make_unique<WFill_Color>();
        colour->colour = band.value.colour;
        colour->opacity = static_cast<uint16_t>(std::lround(band.value.opacity * paintOpacity));
        ring.fill = std::move(colour);
        ring.opacity = style.opacity;
        SendPath(ring, band.points, band.kinds, detail::BoxOf(band.points));
    }
}

void WCanvas_UDI::DrawLattice(const WPattern& pattern, const svgf::HostBox& box) {
    CellRange cells;
    if (!pattern.lattice || reader_ == nullptr || !CellsOver(*pattern.lattice, box, cells)) return;
    const WPattern::Lattice& l = *pattern.lattice;
    const void* element = pattern.element != nullptr ? pattern.element : static_cast<const void*>(&pattern);
    drawingTiles_.push_back(element);
    for (double j = cells.j0; j < cells.j1; ++j) {
        for (double i = cells.i0; i < cells.i1; ++i) {
            const WPoint shift{i * l.across.x + j * l.down.x, i * l.across.y + j * l.down.y};
            const WPoint o{l.origin.x + shift.x, l.origin.y + shift.y};
            // Each cell shows only its own part of the content.
            WClippath cell;
            auto path = std::make_unique<WPath>();
            const WPoint corners[4] = {o,
                                       {o.x + l.across.x, o.y + l.across.y},
                                       {o.x + l.across.x + l.down.x, o.y + l.across.y + l.down.y},
                                       {o.x + l.down.x, o.y + l.down.y}};
            for (int k = 0; k < 4; ++k)
                path->AddPoint({detail::RoundHost(corners[k].x), detail::RoundHost(corners[k].y)},
                               k == 0 ? segment::kMove : segment::kLine);
            path->AddPoint(path->points.front(), segment::kLine);
            path->CloseSubpath(0);
            cell.shapes.push_back(std::move(path));
            WPatternTile tile{this, &pattern, reader_, pattern.matrix};
            tile.matrix.e += shift.x;
            tile.matrix.f += shift.y;
            PushClipPaths(&cell);
            reader_->DrawPatternTile(tile);
            PopClipPaths(&cell);
        }
    }
    drawingTiles_.pop_back();
}

}  // namespace SVG
