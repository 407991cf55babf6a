#include "bench_drawing.h"

#include "host/export_geometry.h"

namespace bench {
namespace {

// A cheap, fixed scramble of the shape number.
uint64_t Mix(uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return x;
}

}  // namespace

Shape MakeShape(uint64_t i) {
    const uint64_t r = Mix(i + 1);
    Shape s{};
    s.kind = static_cast<ShapeKind>(i % 3);
    s.style = static_cast<int>(Mix(i * 7 + 3) % kStyleCount);
    s.width = 20000 + static_cast<int32_t>(r % 300000);
    s.height = 20000 + static_cast<int32_t>((r >> 20) % 300000);
    const int32_t x = static_cast<int32_t>((r >> 40) % (kPageSize - 400000)) + 50000;
    const int32_t y = static_cast<int32_t>((r >> 8) % (kPageSize - 400000)) + 50000;
    s.centre = {x + s.width / 2, y + s.height / 2};
    s.box = {x, y + s.height, x + s.width, y};
    if (s.kind == ShapeKind::kPath) {
        namespace node = svgf::node;
        s.points = {{{x, y},
                     {x + s.width, y},
                     {x + s.width, y + s.height / 2},
                     {x + s.width / 2, y + s.height},
                     {x + s.width / 4, y + s.height},
                     {x, y + s.height / 2},
                     {x, y + s.height / 4}}};
        s.nodeTypes = {node::kMove,
                       node::kLine,
                       node::kLine,
                       node::kControl,
                       node::kControl,
                       node::kCurveEnd,
                       static_cast<uint8_t>(node::kLine | node::kClose)};
        s.pointCount = 7;
    }
    return s;
}

StylePool::StylePool() {
    for (int i = 0; i < kStyleCount; ++i) {
        host::Style style;
        host::FillStyle fill;
        fill.kind = i % 13 == 0 ? svgf::kFillNone : svgf::kFillUniform;
        fill.colour = host::RgbColour(static_cast<uint8_t>(i * 37), static_cast<uint8_t>(i * 91),
                                      static_cast<uint8_t>(i * 151));
        style.fill = fill;
        if (i % 4 != 0) {
            host::OutlineStyle outline;
            outline.kind = svgf::kOutlineSolid;
            outline.width = 762 * (1 + i % 6);
            outline.cap = static_cast<int16_t>(i % 3);
            outline.join = static_cast<int16_t>((i / 3) % 3);
            outline.colour =
                host::RgbColour(static_cast<uint8_t>(i % 7 * 30), 0, static_cast<uint8_t>(i % 5 * 50));
            if (i % 5 == 0) {
                outline.kind = svgf::kOutlineDashed;
                outline.dashes = {4, 2, 1, 2};
            }
            style.outline = outline;
        }
        if (i % 11 == 0) {
            host::TransparencyStyle transparency;
            transparency.start = transparency.end = 25 + i % 50;
            style.transparency = transparency;
        }
        styles_.push_back(style);
        records_.push_back(std::make_unique<host::StyleRecords>(styles_.back()));
    }
}

}  // namespace bench
