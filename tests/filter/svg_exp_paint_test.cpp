// Patterns whose tile the host draws through the callback record while the
// module waits, and masks from transparencies, with the stand-in host's
// style records and services.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/stand_in_host.h"
#include "host/style_records.h"
#include "platform/memory_settings_store.h"
#include "platform/scripted_files.h"
#include "svg_exp.h"

namespace svgf {
namespace {

constexpr int kOutputDescriptor = 7;

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class PaintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FilterContext& context = host_.Context();
        context.fileName = fileName_.data();
        context.fileHandle = kOutputDescriptor;
        context.pageRect = HostRect{0, 254000, 254000, 0};
        options_ = SVGExportOptions{1, 0, 0, kBitmapPng, 1000, kCssInternal, &context};
        context.exportOptions = &options_;
    }
    void TearDown() override {
        host_.SetFirstCallbackHandler({});
        host_.Context().fileName = nullptr;
        host_.Context().fileHandle = 0;
    }

    // A half-inch square at the page's lower left with the style.
    static int32_t DrawSquare(SVGExp& exp, const host::Style& style) {
        const host::StyleRecords records(style);
        const HostRect box{0, 127000, 127000, 0};
        const RectangleRecord r{records.Attributes(), 63500, 63500, 127000, 127000, 0, 0, &box};
        return exp.DrawRectangle(&r);
    }

    void Export(const std::function<void(SVGExp&)>& body) {
        // Each export writes through a descriptor of its own.
        host_.Context().fileHandle = ++descriptor_;
        host_.Report([&] {
            SVGExp exp(files_, &settings_);
            ASSERT_EQ(exp.BeginExport(&host_.Context()), 1);
            body(exp);
            EXPECT_EQ(exp.EndExport(&host_.Context()), 1);
        });
    }
    std::string Output() const { return files_.DescriptorContent(descriptor_); }

    host::StandInHost host_{nullptr};
    platform::ScriptedFiles files_;
    platform::MemorySettingsStore settings_;
    std::string fileName_ = "/out/paint.svg";
    SVGExportOptions options_{};
    int descriptor_ = kOutputDescriptor;
};

host::Style PatternStyle(uint32_t tile) {
    host::Style style;
    host::FillStyle fill;
    fill.kind = kFillPatternFirst;
    fill.pattern = host::PatternStyle{kFillPatternFirst, tile, 25400, 25400};
    style.fill = fill;
    return style;
}

host::Style Uniform(uint8_t red) {
    host::Style style;
    host::FillStyle fill;
    fill.kind = kFillUniform;
    fill.colour.model = kColorModelRgb;
    fill.colour.channels[6] = red;
    style.fill = fill;
    return style;
}

TEST_F(PaintTest, TheHostDrawsThePatternTileIntoThePatternInEveryPlacement) {
    for (uint32_t placement : {kCssInternal, kCssExternal, kCssStyleAttribute}) {
        options_.cssPlacement = placement;
        host_.Log().Clear();
        Export([&](SVGExp& exp) {
            host_.SetFirstCallbackHandler([&](HostHandle, uintptr_t tile) {
                EXPECT_EQ(tile, 5u);
                EXPECT_EQ(DrawSquare(exp, Uniform(200)), kDone);
                return int32_t{1};
            });
            EXPECT_EQ(DrawSquare(exp, PatternStyle(5)), kDone);
        });
        const std::string out = Output();
        const size_t pattern = out.find(
            "<pattern id=\"id0\" patternUnits=\"userSpaceOnUse\" x=\"0\" y=\"900\" "
            "width=\"100\" height=\"100\" viewBox=\"0 900 100 100\">");
        ASSERT_NE(pattern, std::string::npos) << placement << out;
        const size_t end = out.find("</pattern>", pattern);
        EXPECT_NE(out.substr(pattern, end - pattern).find("<rect"), std::string::npos) << out;
        EXPECT_LT(out.find("<defs>"), pattern) << out;
        EXPECT_NE(out.find("style=\"fill:url(#id0)\""), std::string::npos) << placement << out;
        EXPECT_EQ(host_.Log().Count("Callback1"), 1u);
    }
}

TEST_F(PaintTest, ATileThatUsesItsOwnPatternStopsAtTheDepthBound) {
    int drawn = 0;
    Export([&](SVGExp& exp) {
        host_.SetFirstCallbackHandler([&](HostHandle, uintptr_t) {
            ++drawn;
            DrawSquare(exp, PatternStyle(1));
            return int32_t{1};
        });
        EXPECT_EQ(DrawSquare(exp, PatternStyle(1)), kDone);
    });
    EXPECT_EQ(drawn, kMaxPatternDepth);
    EXPECT_EQ(Count(Output(), "<pattern "), static_cast<size_t>(kMaxPatternDepth));
}

TEST_F(PaintTest, WithoutAFirstCallbackThePatternIsEmptyButWritten) {
    host_.Context().callbackSet->first = nullptr;
    Export([&](SVGExp& exp) { EXPECT_EQ(DrawSquare(exp, PatternStyle(1)), kDone); });
    host_.Context().callbackSet = nullptr;
    Export([&](SVGExp& exp) { EXPECT_EQ(DrawSquare(exp, PatternStyle(1)), kDone); });
    EXPECT_NE(Output().find("</pattern>"), std::string::npos);
}

TEST_F(PaintTest, GradientTransparenciesBecomeMasksAndOtherKindsLeaveNone) {
    host::Style style = Uniform(255);
    host::TransparencyStyle fade;
    fade.kind = kFillFountain;
    fade.fountain.stops = {HostFountainStop{}, HostFountainStop{}};
    fade.fountain.stops[1].colour.channels[4] = 255;
    fade.fountain.stops[1].position = 100;
    style.transparency = fade;
    Export([&](SVGExp& exp) { EXPECT_EQ(DrawSquare(exp, style), kDone); });
    std::string out = Output();
    EXPECT_NE(
        out.find(
            "<mask maskUnits=\"userSpaceOnUse\" id=\"id0\" x=\"0\" y=\"500\" width=\"500\" height=\"500\">"),
        std::string::npos)
        << out;
    EXPECT_NE(out.find("<rect style=\"fill:url(#id1)\" x=\"0\" y=\"500\" width=\"500\" height=\"500\"/>"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("stop-opacity:0"), std::string::npos) << out;
    EXPECT_NE(out.find("style=\"mask:url(#id0)\""), std::string::npos) << out;

    fade.kind = 4;  // a host kind without a gradient or pattern
    style.transparency = fade;
    Export([&](SVGExp& exp) { EXPECT_EQ(DrawSquare(exp, style), kDone); });
    out = Output();
    EXPECT_EQ(out.find("<mask"), std::string::npos) << out;
    EXPECT_EQ(out.find("mask:url"), std::string::npos) << out;
}

// The values of `attributes` on the first element whose text starts with
// `start` (after its "<"); empty when it is missing or lacks one of them.
std::vector<int> Numbers(const std::string& text, const std::string& start,
                         const std::vector<std::string>& attributes) {
    std::vector<int> out;
    const size_t at = text.find("<" + start);
    if (at == std::string::npos) return out;
    const std::string element = text.substr(at, text.find('>', at) - at);
    for (const std::string& a : attributes) {
        const size_t v = element.find(" " + a + "=\"");
        if (v == std::string::npos) return {};
        out.push_back(std::stoi(element.substr(v + a.size() + 3)));
    }
    return out;
}

TEST_F(PaintTest, AMaskCoversWhatItsShapeDrawsToTheUnit) {
    // At 1000 units an inch, the box's corners (0.5 and 2.0 units) round to
    // 1 and 2 while its width (1.5 units) rounds to 2: a mask made from the
    // corners would be a unit narrower than the rectangle.
    host::Style style = Uniform(255);
    host::TransparencyStyle fade;
    fade.kind = kFillFountain;
    fade.fountain.stops = {HostFountainStop{}, HostFountainStop{}};
    fade.fountain.stops[1].colour.channels[4] = 128;
    fade.fountain.stops[1].position = 100;
    style.transparency = fade;
    const host::StyleRecords records(style);
    const HostRect box{127, 508, 508, 127};
    Export([&](SVGExp& exp) {
        const RectangleRecord r{records.Attributes(), 317, 317, 381, 381, 0, 0, &box};
        EXPECT_EQ(exp.DrawRectangle(&r), kDone);
    });
    std::string out = Output();
    std::vector<int> shape = Numbers(out, "rect class", {"x", "y", "width", "height"});
    ASSERT_EQ(shape.size(), 4u) << out;
    EXPECT_EQ(Numbers(out, "mask ", {"x", "y", "width", "height"}), shape) << out;

    Export([&](SVGExp& exp) {
        const EllipseRecord e{records.Attributes(), 317, 317, 381, 381, {}, &box};
        EXPECT_EQ(exp.DrawEllipse(&e), kDone);
    });
    out = Output();
    const std::vector<int> ellipse = Numbers(out, "ellipse ", {"cx", "cy", "rx", "ry"});
    ASSERT_EQ(ellipse.size(), 4u) << out;
    EXPECT_EQ(Numbers(out, "mask ", {"x", "y", "width", "height"}),
              (std::vector<int>{ellipse[0] - ellipse[2], ellipse[1] - ellipse[3], 2 * ellipse[2], 2 * ellipse[3]}))
        << out;
}

TEST_F(PaintTest, InTheStyleAttributePlacementAGradientIsItsOwnDefinition) {
    options_.cssPlacement = kCssStyleAttribute;
    host::Style style;
    host::FillStyle fill;
    fill.kind = kFillFountain;
    fill.fountain.blend = 0;
    fill.fountain.stops = {HostFountainStop{}, HostFountainStop{}};
    fill.fountain.stops[1].position = 100;
    style.fill = fill;
    Export([&](SVGExp& exp) { EXPECT_EQ(DrawSquare(exp, style), kDone); });
    const std::string out = Output();
    EXPECT_NE(
        out.find("<linearGradient id=\"id0\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"750\" x2=\"500\" "
                 "y2=\"750\">"),
        std::string::npos)
        << out;
    EXPECT_NE(out.find("style=\"fill:url(#id0)\""), std::string::npos) << out;
}

}  // namespace
}  // namespace svgf
