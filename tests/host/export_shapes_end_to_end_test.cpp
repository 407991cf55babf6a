// Shapes exported through the shared module as the host application does:
// the exact text in each of the three CSS placements, and the objects the
// module hands back to the host.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "host/export_geometry.h"
#include "host/module_loader.h"
#include "host/stand_in_host.h"
#include "host/style_records.h"

namespace host {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ExportShapes : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/svgfilter-shapes-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        std::string error;
        module_ = ModuleLibrary::Open(DefaultModulePath(), &error);
        ASSERT_TRUE(module_) << error;
        host_ = std::make_unique<StandInHost>(module_->Entry());
    }
    void TearDown() override {
        host_.reset();
        module_.reset();
        std::system(("rm -rf '" + root_ + "'").c_str());
    }

    // A one-inch page at precision 1000; `walk` reports the drawing.
    std::string Export(uint32_t placement,
                       const std::function<void(const svgf::ExportCallbackRecord&)>& walk) {
        svgf::FilterContext& c = host_->Context();
        host_->SetNoUserInterface(true);
        EXPECT_EQ(host_->Call(svgf::kCmdOptions), 1);
        if (c.exportOptions == nullptr) return {};
        c.exportOptions->cssPlacement = placement;
        c.exportOptions->precision = 1000;
        const std::string path = root_ + "/out.svg";
        EXPECT_TRUE(host_->OpenOutput(path));
        c.pageRect = svgf::HostRect{0, 254000, 254000, 0};
        EXPECT_EQ(host_->Call(svgf::kCmdBeginExport), 1);
        const auto& r = *static_cast<const svgf::ExportCallbackRecord*>(c.callbackRecord);
        host_->Report([&] {
            r.beginDrawing(r.object);
            walk(r);
            r.endDrawing(r.object);
        });
        EXPECT_EQ(host_->Call(svgf::kCmdEndExport), 1);
        host_->CloseOutput();
        return ReadFile(path);
    }

    std::string root_;
    std::unique_ptr<ModuleLibrary> module_;
    std::unique_ptr<StandInHost> host_;
};

// A red one-inch square with a solid black outline 762 host units wide.
Style RedSquare() {
    Style style;
    FillStyle fill;
    fill.kind = svgf::kFillUniform;
    fill.colour = RgbColour(255, 0, 0);
    style.fill = fill;
    OutlineStyle outline;
    outline.kind = svgf::kOutlineSolid;
    outline.width = 762;
    outline.colour = RgbColour(0, 0, 0);
    style.outline = outline;
    return style;
}

void DrawRedSquare(const svgf::ExportCallbackRecord& r, const Style& style) {
    const StyleRecords records(style);
    const svgf::HostRect box{0, 254000, 254000, 0};
    EXPECT_EQ(r.drawRectangle(r.object, records.Attributes(), 127000, 127000, 254000, 254000, 0, 0, &box, 0),
              0);
}

TEST_F(ExportShapes, RedSquareInEachPlacement) {
    const Style style = RedSquare();
    const char* element =
        "\r\n <rect class=\"fil0 str0\" x=\"0\" y=\"0\" width=\"1000\" height=\"1000\"/>\r\n";

    const std::string internal = Export(svgf::kCssInternal, [&](auto& r) { DrawRedSquare(r, style); });
    EXPECT_NE(internal.find("    .str0 {stroke:#000000;stroke-width:3}\r\n    .fil0 {fill:#FF0000}\r\n"),
              std::string::npos)
        << internal;
    EXPECT_NE(internal.find(element), std::string::npos) << internal;

    const std::string external = Export(svgf::kCssExternal, [&](auto& r) { DrawRedSquare(r, style); });
    EXPECT_NE(external.find("<?xml-stylesheet href=\"out.css\" type=\"text/css\"?>"), std::string::npos);
    EXPECT_NE(external.find(element), std::string::npos) << external;
    EXPECT_EQ(external.find("<defs>"), std::string::npos);
    EXPECT_EQ(ReadFile(root_ + "/out.css"),
              ".str0 {stroke:#000000;stroke-width:3}\r\n.fil0 {fill:#FF0000}\r\n");

    const std::string attribute = Export(svgf::kCssStyleAttribute, [&](auto& r) { DrawRedSquare(r, style); });
    EXPECT_NE(
        attribute.find("\r\n <rect style=\"fill:#FF0000;stroke:#000000;stroke-width:3\" x=\"0\" y=\"0\" "
                       "width=\"1000\" height=\"1000\"/>\r\n"),
        std::string::npos)
        << attribute;
    EXPECT_EQ(attribute.find("<defs>"), std::string::npos);
}

TEST_F(ExportShapes, WhatPlainSvgCannotShowIsHandedToTheHost) {
    Style style = RedSquare();
    TransparencyStyle transparency;  // a fountain form SVG has no mask for
    transparency.kind = 2;
    transparency.subKind = 3;
    style.transparency = transparency;
    const StyleRecords records(style);
    const svgf::HostRect box{0, 254000, 254000, 0};
    const svgf::HostPoint points[2] = {{0, 0}, {254000, 254000}};
    const uint8_t types[2] = {svgf::node::kMove, svgf::node::kLine};
    int32_t answers[3] = {-1, -1, -1};
    const std::string doc = Export(svgf::kCssInternal, [&](const svgf::ExportCallbackRecord& r) {
        answers[0] = r.drawRectangle(r.object, records.Attributes(), 1, 2, 3, 4, 5, 6, &box, 0);
        answers[1] = r.drawPath(r.object, records.Attributes(), 2, points, types, &box, 0);
        answers[2] = r.drawEllipse(r.object, records.Attributes(), 1, 2, 3, 4, 0, 0, 0, 0, &box, 0);
    });
    EXPECT_EQ(answers[0], 0);
    EXPECT_EQ(answers[1], 0);
    EXPECT_EQ(answers[2], 202);
    EXPECT_EQ(doc.find("<rect"), std::string::npos);
    EXPECT_EQ(doc.find("<path"), std::string::npos);
    const auto rectangles = host_->Log().CallsNamed("HandOverRectangle");
    ASSERT_EQ(rectangles.size(), 1u);
    EXPECT_EQ(rectangles[0].Int(0), kDrawingHandle);
    EXPECT_EQ(rectangles[0].Pointer(1), records.Attributes());
    EXPECT_EQ(rectangles[0].Int(2), 1);
    EXPECT_EQ(rectangles[0].Int(7), 6);
    EXPECT_EQ(rectangles[0].Pointer(8), &box);
    const auto paths = host_->Log().CallsNamed("HandOverPath");
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0].Int(2), 2);
    EXPECT_EQ(paths[0].Pointer(3), points);
    EXPECT_EQ(host_->Log().Count("HandOverPath") + host_->Log().Count("HandOverRectangle"), 2u);
}

}  // namespace
}  // namespace host
