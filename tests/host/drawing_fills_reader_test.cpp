// Drawing descriptions of fountain and pattern fills, gradient and pattern
// transparencies and bitmaps: the host records they become, and where a bad
// one fails.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/drawing_reader.h"
#include "host/style_records.h"

namespace host {
namespace {

std::string Objects(const std::string& objects) {
    return R"({"format": "svgfilter-drawing", "version": 1, "unit": "in", "page": {"width": 2, "height": 2},
               "layers": [{"name": "L", "objects": [)" +
           objects + "]}]}";
}

TEST(DrawingFillsReader, FountainsBecomeTheHostsFountainBlock) {
    const DrawingResult r = ReadDrawing(Objects(R"(
        {"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1,
         "fill": {"kind": "radial", "centre": [10, -20], "pad": 5, "blend": "hue-up", "mid": 30,
                  "stops": [{"colour": "#FF0000", "at": 0}, {"colour": {"hsb": [120, 255, 255]}, "at": 100}]},
         "transparency": {"kind": "linear", "angle": 45, "stops": [{"level": 0, "at": 0}, {"level": 100, "at": 100}]}})"));
    ASSERT_TRUE(r) << r.error.Describe("test");
    const StyleRecords records(r.drawing->layers[0].objects[0].style);
    const svgf::HostAttributes& a = *records.Attributes();
    ASSERT_NE(a.fill, nullptr);
    EXPECT_EQ(a.fill->kind, svgf::kFillFountain);
    svgf::HostFountain f;
    std::memcpy(&f, a.fill->body, sizeof f);
    EXPECT_EQ(f.subKind, 2);
    EXPECT_EQ(f.centreX, 10);
    EXPECT_EQ(f.centreY, -20);
    EXPECT_EQ(f.edgePad, 5);
    EXPECT_EQ(f.blend, 2);
    EXPECT_EQ(f.midPoint, 30);
    EXPECT_EQ(f.stopCount, 2);
    EXPECT_EQ(f.stops[1].position, 100);
    EXPECT_EQ(f.stops[1].colour.model, svgf::kColorModelHsb);
    ASSERT_NE(a.transparency, nullptr);
    EXPECT_EQ(a.transparency->type, svgf::kTransparencyType);
    EXPECT_EQ(a.transparency->kind->kind, svgf::kFillFountain);
    svgf::HostFountain t;
    std::memcpy(&t, a.transparency->kind->body, sizeof t);
    EXPECT_EQ(t.subKind, 1);
    EXPECT_EQ(t.angle, 45000);
    EXPECT_EQ(t.stops[0].colour.channels[4], 0);
    EXPECT_EQ(t.stops[1].colour.channels[4], 255);
    // The object's matrix travels in the seventh field.
    const auto* m = reinterpret_cast<const svgf::HostMatrix*>(a.further[svgf::kAttributesMatrixField]);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->m[0], 1.0);
}

TEST(DrawingFillsReader, PatternTilesAreKeptWithTheDrawingAndNumbered) {
    const DrawingResult r = ReadDrawing(Objects(R"(
        {"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1,
         "fill": {"kind": "pattern", "width": 0.5, "height": 0.25,
                  "objects": [{"kind": "ellipse", "cx": 0.1, "cy": 0.1, "rx": 0.1, "ry": 0.1}]}},
        {"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1,
         "transparency": {"kind": "pattern", "width": 1, "height": 1}})"));
    ASSERT_TRUE(r) << r.error.Describe("test");
    ASSERT_EQ(r.drawing->tiles.size(), 2u);
    EXPECT_EQ(r.drawing->tiles[0].size(), 1u);
    EXPECT_EQ(r.drawing->tiles[0][0].where, "/layers/0/objects/0/fill/objects/0");
    const StyleRecords records(r.drawing->layers[0].objects[0].style);
    svgf::HostPatternBlock block;
    std::memcpy(&block, records.Attributes()->fill->body, sizeof block);
    EXPECT_EQ(records.Attributes()->fill->kind, svgf::kFillPatternFirst);
    EXPECT_EQ(block.tile, 1u);
    EXPECT_EQ(block.width, 127000);
    EXPECT_EQ(block.height, 63500);
    EXPECT_EQ(block.content.top, 63500);
    EXPECT_EQ(block.content.right, 127000);
    const StyleRecords second(r.drawing->layers[0].objects[1].style);
    std::memcpy(&block, second.Attributes()->transparency->kind->body, sizeof block);
    EXPECT_EQ(block.tile, 2u);
}

TEST(DrawingFillsReader, BitmapsNameTheirImageBesideTheDescription) {
    const std::string objects = Objects(R"(
        {"kind": "bitmap", "image": "pictures/a.png", "x": 0, "y": 0, "width": 1, "height": 0.5,
         "visible": {"x": 0, "y": 0, "width": 0.5, "height": 0.5}, "matrix": [1, 0, 0.5, 0, 1, 0]},
        {"kind": "bitmap", "image": "/abs/b.gif", "x": 0, "y": 0, "width": 1, "height": 1})");
    const DrawingResult r = ReadDrawing(objects, "/drawings");
    ASSERT_TRUE(r) << r.error.Describe("test");
    const DrawingObject& a = r.drawing->layers[0].objects[0];
    EXPECT_EQ(a.kind, ObjectKind::kBitmap);
    EXPECT_EQ(a.image, "/drawings/pictures/a.png");
    EXPECT_EQ(a.box.right, 254000);
    EXPECT_EQ(a.box.top, 127000);
    EXPECT_EQ(a.visible.right, 127000);
    EXPECT_EQ(a.matrix.m[2], 127000);
    const DrawingObject& b = r.drawing->layers[0].objects[1];
    EXPECT_EQ(b.image, "/abs/b.gif");
    EXPECT_EQ(b.visible.right, b.box.right);
}

TEST(DrawingFillsReader, ErrorsNameThePlace) {
    const struct {
        std::string objects;
        const char* where;
        const char* message;
    } cases[] = {
        {R"({"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1,
             "fill": {"kind": "linear", "stops": [{"colour": "#000000", "at": 0}]}})",
         "/layers/0/objects/0/fill/stops", "2 to 101"},
        {R"({"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1,
             "fill": {"kind": "linear", "centre": [0, 0], "stops": []}})",
         "/layers/0/objects/0/fill/centre", "only a radial"},
        {R"({"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1,
             "fill": {"kind": "linear", "blend": "rainbow", "stops": []}})",
         "/layers/0/objects/0/fill/blend", "unknown value"},
        {R"({"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1,
             "fill": {"kind": "linear", "stops": [{"colour": "#000000", "at": 0}, {"colour": "#000000", "at": 140}]}})",
         "/layers/0/objects/0/fill/stops/1/at", "0 to 100"},
        {R"({"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1,
             "transparency": {"kind": "radial", "stops": [{"colour": "#000000", "at": 0}, {"level": 1, "at": 1}]}})",
         "/layers/0/objects/0/transparency/stops/0/colour", "unknown member"},
        {R"({"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1,
             "fill": {"kind": "pattern", "width": 0, "height": 1}})",
         "/layers/0/objects/0/fill", "size above 0"},
        {R"({"kind": "bitmap", "x": 0, "y": 0, "width": 1, "height": 1})", "/layers/0/objects/0",
         "missing member \"image\""},
        {R"({"kind": "bitmap", "image": "a.png", "x": 0, "y": 0, "width": 1, "height": 1, "dpi": 72})",
         "/layers/0/objects/0/dpi", "unknown member"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.objects);
        const DrawingResult r = ReadDrawing(Objects(c.objects));
        ASSERT_FALSE(r);
        EXPECT_EQ(r.error.where, c.where);
        EXPECT_NE(r.error.message.find(c.message), std::string::npos) << r.error.message;
    }
}

}  // namespace
}  // namespace host
