// Drawing descriptions of shapes, styles and structures: what the reader
// makes of them, and where a bad one fails.
#include <gtest/gtest.h>

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

const DrawingObject& First(const DrawingResult& r) {
    return r.drawing->layers.at(0).objects.at(0);
}

TEST(DrawingShapesReader, RectangleEllipseAndStyles) {
    const DrawingResult r = ReadDrawing(Objects(R"(
        {"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 0.5, "corner": 0.1,
         "fill": {"kind": "uniform", "colour": "#FF8000"},
         "outline": {"kind": "solid", "colour": {"rgb": [0, 0, 255]}, "width": 0.003, "cap": "round",
                     "join": "bevel", "dashes": [5, 3]},
         "transparency": {"kind": "uniform", "level": 25}},
        {"kind": "ellipse", "cx": 1, "cy": 1, "rx": 0.5, "ry": 0.25,
         "fill": {"kind": "uniform", "colour": {"hsb": [120, 255, 255]}},
         "transparency": {"kind": "coded", "code": 2, "subkind": 3}})"));
    ASSERT_TRUE(r) << r.error.Describe("t");
    const DrawingObject& rect = First(r);
    EXPECT_EQ(rect.kind, ObjectKind::kRectangle);
    EXPECT_EQ(rect.centre.x, 127000);
    EXPECT_EQ(rect.centre.y, 63500);
    EXPECT_EQ(rect.width, 254000);
    EXPECT_EQ(rect.height, 127000);
    EXPECT_EQ(rect.corner, 25400);
    EXPECT_EQ(rect.box.top, 127000);
    ASSERT_TRUE(rect.style.fill && rect.style.outline && rect.style.transparency);
    EXPECT_EQ(rect.style.fill->colour.channels[6], 0xFF);  // red
    EXPECT_EQ(rect.style.fill->colour.channels[5], 0x80);  // green
    EXPECT_EQ(rect.style.outline->kind, svgf::kOutlineDashed);
    EXPECT_EQ(rect.style.outline->width, 762);
    EXPECT_EQ(rect.style.outline->cap, 1);
    EXPECT_EQ(rect.style.outline->join, 2);
    EXPECT_EQ(rect.style.outline->dashes, (std::vector<int16_t>{5, 3}));
    EXPECT_EQ(rect.style.transparency->start, 25);

    const StyleRecords records(rect.style);
    const svgf::HostAttributes& a = *records.Attributes();
    EXPECT_EQ(a.fill->kind, svgf::kFillUniform);
    EXPECT_EQ(a.outline->dashCount, 2);
    EXPECT_EQ(a.outline->dashes[1], 3);
    EXPECT_EQ(a.transparency->type, svgf::kTransparencyType);
    EXPECT_EQ(a.transparency->kind->kind, svgf::kTransparencyUniform);

    const DrawingObject& ellipse = r.drawing->layers[0].objects[1];
    EXPECT_EQ(ellipse.width, 254000);
    EXPECT_EQ(ellipse.height, 127000);
    EXPECT_EQ(ellipse.style.fill->colour.model, svgf::kColorModelHsb);
    EXPECT_EQ(ellipse.style.transparency->kind, 2);
    EXPECT_EQ(ellipse.style.transparency->subKind, 3);
}

TEST(DrawingShapesReader, PathNodesBecomeHostNodeTypes) {
    const DrawingResult r = ReadDrawing(Objects(R"(
        {"kind": "path", "nodes": [["M", 0, 0], ["L", 1, 0], ["C", 1, 1, 0, 1, 0, 0.5], ["Z"], ["M", 1, 1]]})"));
    ASSERT_TRUE(r) << r.error.Describe("t");
    const DrawingObject& path = First(r);
    namespace node = svgf::node;
    EXPECT_EQ(path.nodeTypes, (std::vector<uint8_t>{node::kMove, node::kLine, node::kControl, node::kControl,
                                                    node::kCurveEnd | node::kClose, node::kMove}));
    ASSERT_EQ(path.points.size(), 6u);
    EXPECT_EQ(path.points[4].y, 127000);
    EXPECT_EQ(path.box.right, 254000);
    EXPECT_EQ(path.box.top, 254000);
}

TEST(DrawingShapesReader, StructuresCarryTheirMembers) {
    const DrawingResult r = ReadDrawing(Objects(R"(
        {"kind": "link", "url": "http://a.example/", "area": {"x": 0, "y": 0, "width": 1, "height": 1},
         "objects": [{"kind": "group", "link": {"url": "#b"}, "objects": [{"kind": "polygon",
                      "points": [[0, 0], [1, 0], [0, 1]], "colour": "#00FF00"}]}]},
        {"kind": "clip", "shape": {"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1}},
        {"kind": "clip", "shape": {"kind": "path", "nodes": [["M", 0, 0], ["L", 1, 1]]}},
        {"kind": "transform", "matrix": [0, -1, 1, 1, 0, 0]})"));
    ASSERT_TRUE(r) << r.error.Describe("t");
    const auto& objects = r.drawing->layers[0].objects;
    EXPECT_EQ(objects[0].kind, ObjectKind::kLink);
    EXPECT_EQ(objects[0].link->url, "http://a.example/");
    EXPECT_EQ(objects[0].link->area->top, 254000);
    const DrawingObject& group = objects[0].objects.at(0);
    EXPECT_EQ(group.link->url, "#b");
    EXPECT_FALSE(group.link->area);
    EXPECT_EQ(group.objects.at(0).points.size(), 3u);
    EXPECT_EQ(objects[1].clipKind, 3);
    EXPECT_EQ(objects[1].clipRect.right, 254000);
    EXPECT_EQ(objects[2].clipKind, 4);
    EXPECT_EQ(objects[2].points.size(), 2u);
    EXPECT_EQ(objects[3].matrix.m[1], -1);
    EXPECT_EQ(objects[3].matrix.m[2], 254000);  // translations are lengths
}

TEST(DrawingShapesReader, ErrorsNameThePlace) {
    const struct {
        std::string objects;
        const char* where;
        const char* message;
    } cases[] = {
        {R"({"kind": "rectangle", "x": 0, "y": 0, "width": -1, "height": 1})", "/layers/0/objects/0/width",
         "negative"},
        {R"({"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1, "fill": {"kind": "plaid"}})",
         "/layers/0/objects/0/fill/kind", "unknown fill"},
        {R"({"kind": "ellipse", "cx": 0, "cy": 0, "rx": 1, "ry": 1, "fill": {"kind": "uniform", "colour": "red"}})",
         "/layers/0/objects/0/fill/colour", "#RRGGBB"},
        {R"({"kind": "path", "nodes": [["L", 0, 0]]})", "/layers/0/objects/0/nodes/0", "begins with \"M\""},
        {R"({"kind": "path", "nodes": [["M", 0, 0], ["C", 1, 1]]})", "/layers/0/objects/0/nodes/1",
         "takes 6"},
        {R"({"kind": "path", "nodes": [["M", 0, 0], ["Q", 1, 1]]})", "/layers/0/objects/0/nodes/1",
         "unknown node"},
        {R"({"kind": "path", "nodes": [["M", 0, 0]], "outline": {"kind": "solid", "colour": "#000000",
             "width": 1, "dashes": [1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1]}})",
         "/layers/0/objects/0/outline/dashes", "1 to 17"},
        {R"({"kind": "path", "nodes": [["M", 0, 0]], "outline": {"kind": "solid", "colour": "#000000",
             "width": 1, "cap": "pointy"}})",
         "/layers/0/objects/0/outline/cap", "unknown value"},
        {R"({"kind": "path", "nodes": [["M", 0, 0]], "transparency": {"kind": "uniform", "level": 120}})",
         "/layers/0/objects/0/transparency/level", "0 to 100"},
        {R"({"kind": "clip", "shape": {"kind": "star"}})", "/layers/0/objects/0/shape/kind", "unknown clip"},
        {R"({"kind": "transform", "matrix": [1, 0, 0]})", "/layers/0/objects/0/matrix", "six numbers"},
        {R"({"kind": "link"})", "/layers/0/objects/0", "missing member \"url\""},
        {R"({"kind": "group", "link": {"url": "#a", "target": "_blank"}})", "/layers/0/objects/0/link/target",
         "unknown member"},
        {R"({"kind": "polygon", "points": [[0, 0]]})", "/layers/0/objects/0", "missing member \"colour\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.objects);
        const DrawingResult r = ReadDrawing(Objects(c.objects));
        ASSERT_FALSE(r);
        EXPECT_EQ(r.error.where, c.where);
        EXPECT_NE(r.error.message.find(c.message), std::string::npos) << r.error.message;
    }
}

TEST(DrawingShapesReader, EllipseAsPathRunsRoundTheBox) {
    std::vector<svgf::HostPoint> points;
    std::vector<uint8_t> types;
    EllipseAsPath({1000, 2000}, 400, 200, points, types);
    ASSERT_EQ(points.size(), 13u);
    EXPECT_EQ(points[0].x, 1200);
    EXPECT_EQ(points[3].y, 2100);
    EXPECT_EQ(points[6].x, 800);
    EXPECT_EQ(points[9].y, 1900);
    EXPECT_EQ(types[0], svgf::node::kMove);
    EXPECT_EQ(types[12], svgf::node::kCurveEnd | svgf::node::kClose);
}

}  // namespace
}  // namespace host
