// A document read from SVG text and drawn on a recording canvas, with the
// presentation attributes as its styles.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "attribute_styles.h"
#include "recording_canvas.h"
#include "svg_dom.h"
#include "svgimport/reader.h"

namespace reader_test {

// A root of 254 user units square drawn one inch square: one user unit is
// 1000 host units, and the user point (x, y) lands at (1000 x, 254000 -
// 1000 y).
inline std::string Doc(std::string_view content) {
    return "<svg width=\"96\" height=\"96\" viewBox=\"0 0 254 254\">" + std::string(content) + "</svg>";
}

struct Read {
    explicit Read(std::string_view svg, SVG::WReadLimits limits = {})
        : dom(svg), reader(dom.Document(), &styles, limits), canvas(&reader) {
        EXPECT_EQ(dom.Error(), "");
        result = reader.Parse(&canvas);
    }
    SvgDom dom;
    AttributeStyles styles;
    SVG::WParser reader;
    RecordingCanvas canvas;
    int32_t result = 0;

    std::string Text() const { return canvas.Text(); }
};

}  // namespace reader_test
