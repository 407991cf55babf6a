// Drawing descriptions: what a good file gives, and where a bad one fails.
#include "host/drawing_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace host {
namespace {

const char kHeader[] = R"("format": "svgfilter-drawing", "version": 1, )";

std::string Doc(const std::string& body) {
    return std::string("{") + kHeader + body + "}";
}

TEST(DrawingReader, ReadsPageLayersAndNestedGroups) {
    const DrawingResult r = ReadDrawing(Doc(R"("unit": "in", "page": {"width": 1, "height": 0.5},
        "layers": [{"name": "Layer 1", "comment": "ignored",
                    "objects": [{"kind": "group", "objects": [{"kind": "group"}]}]},
                   {"name": "Ebene \u00fc"}])"));
    ASSERT_TRUE(r) << r.error.Describe("t");
    const Drawing& d = *r.drawing;
    EXPECT_EQ(d.version, 1);
    EXPECT_EQ(d.page.left, 0);
    EXPECT_EQ(d.page.top, 127000);
    EXPECT_EQ(d.page.right, 254000);
    EXPECT_EQ(d.page.bottom, 0);
    ASSERT_EQ(d.layers.size(), 2u);
    EXPECT_EQ(d.layers[0].name, "Layer 1");
    ASSERT_EQ(d.layers[0].objects.size(), 1u);
    EXPECT_EQ(d.layers[0].objects[0].objects.size(), 1u);
    EXPECT_EQ(d.layers[0].objects[0].objects[0].where, "/layers/0/objects/0/objects/0");
    // The host's text is ISO-8859-1.
    EXPECT_EQ(d.layers[1].name, "Ebene \xFC");
    EXPECT_TRUE(d.layers[1].objects.empty());
}

TEST(DrawingReader, UnitsConvertToHostUnitsRoundingHalfAwayFromZero) {
    const struct {
        const char* unit;
        const char* width;
        int32_t host;
    } cases[] = {{"host", "2.5", 3},
                 {"mm", "25.4", 254000},
                 {"cm", "1", 100000},
                 {"pt", "72", 254000},
                 {"px", "96", 254000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        const DrawingResult r =
            ReadDrawing(Doc(std::string(R"("unit": ")") + c.unit + R"(", "page": {"width": )" + c.width +
                            R"(, "height": 1, "x": -1.5})"));
        ASSERT_TRUE(r) << r.error.Describe("t");
        EXPECT_EQ(r.drawing->page.right - r.drawing->page.left, c.host);
    }
}

TEST(DrawingReader, ErrorsNameThePlace) {
    const struct {
        std::string text;
        const char* where;
        const char* message;
    } cases[] = {
        {"{", "1:2", "syntax error"},
        {"{\n  \"format\": ,\n}", "2:13", "syntax error"},
        {"[1, 2]", "", "expected an object"},
        {R"({"format": "svg", "version": 1})", "/format", "svgfilter-drawing"},
        {R"({"format": "svgfilter-drawing", "version": 2, "page": {}})", "/version", "newer"},
        {R"({"format": "svgfilter-drawing", "version": "1"})", "/version", "whole number"},
        {Doc(R"("layers": [])"), "", "missing member \"page\""},
        {Doc(R"("page": {"width": "wide", "height": 1})"), "/page/width", "expected a number"},
        {Doc(R"("page": {"width": 1, "height": -1})"), "/page/height", "above 0"},
        {Doc(R"("page": {"width": 1e300, "height": 1})"), "/page/width", "out of range"},
        {Doc(R"("page": {"width": 1, "height": 1, "depth": 1})"), "/page/depth", "unknown member"},
        {Doc(R"("unit": "furlong", "page": {"width": 1, "height": 1})"), "/unit", "unknown unit"},
        {Doc(R"("page": {"width": 1, "height": 1}, "layers": {})"), "/layers", "expected an array"},
        {Doc(R"("page": {"width": 1, "height": 1}, "layers": [{"objects": []}])"), "/layers/0",
         "missing member \"name\""},
        {Doc(R"("page": {"width": 1, "height": 1}, "layers": [{"name": "\u20ac"}])"), "/layers/0/name",
         "ISO-8859-1"},
        {Doc(R"("page": {"width": 1, "height": 1}, "layers": [{"name": "L",
            "objects": [{"kind": "group"}, {"kind": "blob"}]}])"),
         "/layers/0/objects/1/kind", "unknown kind \"blob\""},
        {Doc(R"("page": {"width": 1, "height": 1}, "layers": [{"name": "L", "objects": [{"objects": []}]}])"),
         "/layers/0/objects/0", "missing member \"kind\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const DrawingResult r = ReadDrawing(c.text);
        ASSERT_FALSE(r);
        EXPECT_EQ(r.error.where, c.where);
        EXPECT_NE(r.error.message.find(c.message), std::string::npos) << r.error.message;
    }
}

TEST(DrawingReader, NestingIsBoundedAtItsLimit) {
    // `levels` structures inside each other around `inner`; pattern tiles
    // count as a level too.
    const std::string shape = R"({"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1})";
    const std::string patterned = R"({"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1,
        "fill": {"kind": "pattern", "width": 1, "height": 1, "objects": [)" + shape + "]}}";
    const struct {
        int levels;
        std::string inner;
        bool ok;
    } cases[] = {
        {kMaxGroupDepth, shape, true},
        {kMaxGroupDepth, R"({"kind": "group"})", false},
        {kMaxGroupDepth + 5, shape, false},
        {kMaxGroupDepth - 1, patterned, true},
        {kMaxGroupDepth, patterned, false},
    };
    for (const auto& c : cases) {
        std::string objects = c.inner;
        for (int i = 0; i < c.levels; ++i) objects = R"({"kind": "group", "objects": [)" + objects + "]}";
        const DrawingResult r = ReadDrawing(
            Doc(R"("page": {"width": 1, "height": 1}, "layers": [{"name": "L", "objects": [)" + objects + "]}]"));
        EXPECT_EQ(static_cast<bool>(r), c.ok) << c.levels << " " << c.inner;
        if (!c.ok && !r) {
            EXPECT_NE(r.error.message.find("nest deeper"), std::string::npos);
        }
    }
}

TEST(DrawingReader, DescribeFormsACommandLineMessage) {
    EXPECT_EQ((DrawingError{"3:4", "bad"}.Describe("d.json")), "d.json:3:4: bad");
    EXPECT_EQ((DrawingError{"/page", "bad"}.Describe("d.json")), "d.json:/page: bad");
    EXPECT_EQ((DrawingError{"", "bad"}.Describe("d.json")), "d.json: bad");
    const DrawingResult missing = ReadDrawingFile("/nonexistent/drawing.json");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error.where, "");
}

TEST(DrawingReader, TheBundledSampleReads) {
    const DrawingResult r = ReadDrawingFile(SVGFILTER_SOURCE_DIR "/examples/sample.json");
    ASSERT_TRUE(r) << r.error.Describe("sample.json");
    EXPECT_FALSE(r.drawing->layers.empty());
}

}  // namespace
}  // namespace host
