// The style registry: class numbers by first appearance, rules in key
// order, colours compared through the host, gradient fills and stop sharing.
#include "style_registry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/scripted_files.h"
#include "svg_gradient.h"
#include "svg_writer.h"
#include "xml_check.h"

namespace svgf {
namespace {

ColorRecord Rgb(uint8_t r, uint8_t g, uint8_t b) {
    ColorRecord c{};
    c.model = kColorModelRgb;
    c.channels[4] = b;
    c.channels[5] = g;
    c.channels[6] = r;
    return c;
}

// A colour in a made-up inverted model that the host converts to RGB.
ColorRecord Inverted(uint8_t r, uint8_t g, uint8_t b) {
    ColorRecord c =
        Rgb(static_cast<uint8_t>(255 - r), static_cast<uint8_t>(255 - g), static_cast<uint8_t>(255 - b));
    c.model = 2;
    return c;
}

class FakeHost : public StyleRegistryHost {
  public:
    ColorRecord ConvertColor(const ColorRecord& colour, int32_t model) override {
        ++conversions;
        EXPECT_EQ(model, kColorModelRgb);
        if (colour.model == kColorModelRgb) return colour;
        ColorRecord out = colour;
        out.model = kColorModelRgb;
        for (int i = 4; i < 7; ++i) out.channels[i] = static_cast<uint8_t>(255 - colour.channels[i]);
        return out;
    }
    double Scale() const override { return 1000.0 / 254000.0; }
    void SetLinearGeometry(const HostFountain&, const HostRect& box, SVGGradient_Linear& g) override {
        g.x1 = box.left;
        g.y1 = box.top;
        g.x2 = box.right;
        g.y2 = box.top;
    }
    void SetRadialGeometry(const HostFountain&, const HostRect& box, SVGGradient_Radial& g) override {
        g.cx = g.fx = box.left;
        g.cy = g.fy = box.top;
        g.r = box.right - box.left;
    }
    void AddGradientStops(const HostFountain& fountain, SVGGradient& g, int mode) override {
        EXPECT_EQ(mode, 0);
        for (int i = 0; i < fountain.stopCount; ++i) {
            SVGGradientStop stop;
            stop.offset = static_cast<uint16_t>(fountain.stops[i].position * 255 / 100);
            stop.colour = RgbOf(ConvertColor(fountain.stops[i].colour, kColorModelRgb));
            g.stops.push_back(stop);
        }
    }
    int conversions = 0;
};

SVGFillKey UniformFill(ColorRecord colour, double opacity = -1.0) {
    SVGFillKey key{};
    key.fill.kind = kFillUniform;
    std::memcpy(key.fill.body, &colour, sizeof colour);
    key.box = {1, 2, 3, 4};
    key.opacity = opacity;
    return key;
}

SVGFillKey FountainFill(uint16_t subKind, HostRect box, ColorRecord from, ColorRecord to) {
    SVGFillKey key{};
    key.fill.kind = kFillFountain;
    HostFountain fountain{};
    fountain.subKind = subKind;
    fountain.midPoint = 50;
    fountain.stopCount = 2;
    fountain.stops[0] = {from, 0, 0};
    fountain.stops[1] = {to, 100, 0};
    std::memcpy(key.fill.body, &fountain, sizeof fountain);
    key.box = box;
    key.opacity = -1.0;
    return key;
}

HostOutlineRecord Outline(uint16_t kind, int32_t width, ColorRecord colour) {
    HostOutlineRecord outline{};
    outline.kind = kind;
    outline.width = width;
    outline.colour = colour;
    return outline;
}

void SetDashes(HostOutlineRecord& outline, uint16_t count, std::initializer_list<int16_t> dashes) {
    outline.dashCount = count;
    size_t at = offsetof(HostOutlineRecord, dashes);
    for (int16_t dash : dashes) {
        std::memcpy(reinterpret_cast<uint8_t*>(&outline) + at, &dash, 2);
        at += 2;
    }
}

CRCPtr<SVGFontProps> Font(int size, const char* family, uint32_t verticalAlign = 0) {
    auto font = std::make_unique<SVGFontProps>();
    font->size = size;
    font->family = family;
    font->verticalAlign = verticalAlign;
    return CRCPtr<SVGFontProps>(std::move(font));
}

// Writes the registry's classes in a writer with an external sheet and
// gives back the sheet and the document's definitions.
struct Written {
    std::string sheet;
    std::string document;
};
Written WriteThrough(SVGStyleRegistry& registry, uint32_t placement = kCssExternal) {
    platform::ScriptedFiles files;
    Written out;
    {
        SVGExportOptions options{1, 0, 0, 0, 1000, placement, nullptr};
        WSVGWriter writer(files.AttachDescriptor(3), options, "/d/x.svg", files);
        SVGPage page;
        page.pageRect = {0, 254000, 254000, 0};
        page.scaledRect = {0, 0, 1000, 1000};
        writer.BeginDocument(page);
        EXPECT_EQ(registry.WriteClasses(writer), 1);
        EXPECT_EQ(writer.EndDocument(), 1);
        EXPECT_TRUE(writer.CommitStyleSheet());
        out.sheet = files.NamedContent("/d/x.css");
        out.document = files.DescriptorContent(3);
    }
    return out;
}

TEST(StyleRegistry, FillsAreNumberedByFirstAppearanceAndWrittenInKeyOrder) {
    FakeHost host;
    SVGStyleRegistry registry(host);
    EXPECT_EQ(registry.FindOrAddFill(UniformFill(Rgb(255, 0, 0))), 0);
    EXPECT_EQ(registry.FindOrAddFill(UniformFill(Rgb(0, 0, 255))), 1);
    EXPECT_EQ(registry.FindOrAddFill(UniformFill(Rgb(255, 0, 0))), 0);
    // Equal after the host's conversion: the same class.
    EXPECT_EQ(registry.FindOrAddFill(UniformFill(Inverted(0, 0, 255))), 1);
    // Boxes do not matter for a uniform fill, opacity does.
    SVGFillKey moved = UniformFill(Rgb(255, 0, 0));
    moved.box = {9, 9, 9, 9};
    EXPECT_EQ(registry.FindOrAddFill(moved), 0);
    EXPECT_EQ(registry.FindOrAddFill(UniformFill(Rgb(255, 0, 0), 0.75)), 2);
    SVGFillKey none{};
    none.opacity = -1.0;
    EXPECT_EQ(registry.FindOrAddFill(none), 3);
    EXPECT_EQ(registry.FillCount(), 4u);

    EXPECT_EQ(WriteThrough(registry).sheet,
              ".fil3 {fill:none}\r\n"
              ".fil1 {fill:#0000FF}\r\n"
              ".fil0 {fill:#FF0000}\r\n"
              ".fil2 {fill:#FF0000;fill-opacity:0.749020}\r\n");
}

TEST(StyleRegistry, OutlinesScaleWidthsAndDashes) {
    FakeHost host;
    SVGStyleRegistry registry(host);
    HostOutlineRecord solid = Outline(kOutlineSolid, 762, Rgb(0, 0, 0));
    HostOutlineRecord none = Outline(kOutlineNone, 762, Rgb(0, 0, 0));
    HostOutlineRecord dashed = Outline(kOutlineDashed, 762, Rgb(0, 128, 0));
    dashed.cap = 1;
    dashed.join = 7;  // not a join code: the default stays
    SetDashes(dashed, 2, {5, 3});
    EXPECT_EQ(registry.FindOrAddOutline(solid), 0);
    EXPECT_EQ(registry.FindOrAddOutline(none), 1);
    EXPECT_EQ(registry.FindOrAddOutline(dashed), 2);
    EXPECT_EQ(registry.FindOrAddOutline(Outline(kOutlineSolid, 762, Inverted(0, 0, 0))), 0);
    HostOutlineRecord otherDashes = dashed;
    SetDashes(otherDashes, 2, {5, 4});
    EXPECT_EQ(registry.FindOrAddOutline(otherDashes), 3);

    EXPECT_EQ(WriteThrough(registry).sheet,
              ".str0 {stroke:#000000;stroke-width:3}\r\n"
              ".str2 {stroke:#008000;stroke-width:3;stroke-linecap:round;stroke-dasharray:15 9}\r\n"
              ".str3 {stroke:#008000;stroke-width:3;stroke-linecap:round;stroke-dasharray:15 12}\r\n");
}

TEST(StyleRegistry, DashListsAreBoundedAndMultipliedWithoutOverflow) {
    FakeHost host;
    SVGStyleRegistry registry(host);
    // A count beyond what the record holds reads the 17 entries that fit.
    auto outline = std::make_unique<HostOutlineRecord>(Outline(kOutlineDashed, 254, Rgb(0, 0, 0)));
    SetDashes(*outline, 0xFFFF, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17});
    EXPECT_EQ(OutlineDashes(*outline).size(), 17u);
    registry.FindOrAddOutline(*outline);
    // A wide line with a long dash overflows 32 bits before scaling.
    HostOutlineRecord wide = Outline(kOutlineDashed, 2000000000, Rgb(0, 0, 0));
    SetDashes(wide, 1, {3});
    registry.FindOrAddOutline(wide);
    std::string sheet = WriteThrough(registry).sheet;
    EXPECT_NE(sheet.find("stroke-dasharray:1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17}"), std::string::npos)
        << sheet;
    EXPECT_NE(sheet.find("stroke-width:7874016;stroke-dasharray:23622047}"), std::string::npos) << sheet;
}

TEST(StyleRegistry, FontsKeyOnAlignmentFirst) {
    FakeHost host;
    SVGStyleRegistry registry(host);
    EXPECT_EQ(registry.FindOrAddFont(Font(12, "Arial", 1)), 0);
    EXPECT_EQ(registry.FindOrAddFont(Font(24, "Arial")), 1);
    EXPECT_EQ(registry.FindOrAddFont(Font(12, "Arial")), 2);
    EXPECT_EQ(registry.FindOrAddFont(Font(12, "Arial", 1)), 0);
    EXPECT_EQ(registry.FindOrAddFont(CRCPtr<SVGFontProps>()), -1);
    // The registry keeps its own copy of the key.
    CRCPtr<SVGFontProps> changing = Font(12, "Courier");
    EXPECT_EQ(registry.FindOrAddFont(changing), 3);
    changing->size = 99;
    EXPECT_EQ(registry.FindOrAddFont(Font(12, "Courier")), 3);

    EXPECT_EQ(WriteThrough(registry).sheet,
              ".fnt2 {font-weight:normal;font-size:12;font-family:Arial}\r\n"
              ".fnt3 {font-weight:normal;font-size:12;font-family:Courier}\r\n"
              ".fnt1 {font-weight:normal;font-size:24;font-family:Arial}\r\n"
              ".fnt0 {font-weight:normal;font-size:12;font-family:Arial;vertical-align:super}\r\n");
}

TEST(StyleRegistry, RulesComeOutlinesFillsFonts) {
    FakeHost host;
    SVGStyleRegistry registry(host);
    registry.FindOrAddFont(Font(10, "Arial"));
    registry.FindOrAddFill(UniformFill(Rgb(1, 2, 3)));
    registry.FindOrAddOutline(Outline(kOutlineSolid, 254, Rgb(4, 5, 6)));
    EXPECT_EQ(WriteThrough(registry).sheet,
              ".str0 {stroke:#040506}\r\n"
              ".fil0 {fill:#010203}\r\n"
              ".fnt0 {font-weight:normal;font-size:10;font-family:Arial}\r\n");
}

TEST(StyleRegistry, GradientFillsShareStopListsAndKeyOnTheBox) {
    FakeHost host;
    SVGStyleRegistry registry(host);
    const HostRect box1{0, 0, 100, 50};
    const HostRect box2{0, 0, 200, 50};
    EXPECT_EQ(registry.FindOrAddFill(FountainFill(1, box1, Rgb(255, 0, 0), Rgb(0, 0, 255))), 0);
    EXPECT_EQ(registry.FindOrAddFill(FountainFill(1, box2, Rgb(255, 0, 0), Rgb(0, 0, 255))), 1);
    EXPECT_EQ(registry.FindOrAddFill(FountainFill(1, box1, Inverted(255, 0, 0), Rgb(0, 0, 255))), 0);
    EXPECT_EQ(registry.FindOrAddFill(FountainFill(2, box1, Rgb(0, 0, 0), Rgb(255, 255, 255))), 2);
    EXPECT_EQ(registry.FindOrAddFill(FountainFill(4, box1, Rgb(0, 0, 0), Rgb(255, 255, 255))), 3);

    Written written = WriteThrough(registry);
    EXPECT_EQ(written.sheet,
              ".fil0 {fill:url(#id0)}\r\n"
              ".fil1 {fill:url(#id1)}\r\n"
              ".fil2 {fill:url(#id2)}\r\n");
    const std::string defs =
        " <defs>\r\n"
        " <linearGradient id=\"id0\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"0\" x2=\"100\" "
        "y2=\"0\">\r\n"
        "  <stop offset=\"0\" style=\"stop-color:#FF0000\"/>\r\n"
        "  <stop offset=\"1\" style=\"stop-color:#0000FF\"/>\r\n"
        " </linearGradient>\r\n"
        " <linearGradient id=\"id1\" gradientUnits=\"userSpaceOnUse\" xlink:href=\"#id0\" x1=\"0\" y1=\"0\" "
        "x2=\"200\" y2=\"0\">\r\n"
        " </linearGradient>\r\n"
        " <radialGradient id=\"id2\" gradientUnits=\"userSpaceOnUse\" cx=\"0\" cy=\"0\" r=\"100\" fx=\"0\" "
        "fy=\"0\">\r\n"
        "  <stop offset=\"1\" style=\"stop-color:#FFFFFF\"/>\r\n"
        "  <stop offset=\"0\" style=\"stop-color:#000000\"/>\r\n"
        " </radialGradient>\r\n"
        " </defs>\r\n";
    EXPECT_NE(written.document.find(defs), std::string::npos) << written.document;
    EXPECT_WELL_FORMED(written.document);
}

TEST(StyleRegistry, AllRulesInTheInternalSheetAreWellFormed) {
    FakeHost host;
    SVGStyleRegistry registry(host);
    registry.FindOrAddOutline(Outline(kOutlineSolid, 762, Rgb(0, 0, 0)));
    registry.FindOrAddFill(UniformFill(Rgb(255, 0, 0)));
    registry.FindOrAddFill(FountainFill(1, {0, 0, 10, 10}, Rgb(255, 0, 0), Rgb(0, 0, 255)));
    registry.FindOrAddFont(Font(12, "Odd ]]> Name"));
    Written written = WriteThrough(registry, kCssInternal);
    EXPECT_NE(written.document.find("    .str0 {stroke:#000000;stroke-width:3}\r\n"
                                    "    .fil0 {fill:#FF0000}\r\n"
                                    "    .fil1 {fill:url(#id0)}\r\n"),
              std::string::npos)
        << written.document;
    EXPECT_NE(written.document.find("  <linearGradient id=\"id0\""), std::string::npos);
    EXPECT_WELL_FORMED(written.document);
}

TEST(StyleRegistry, StopCountsBeyondTheRecordAreBounded) {
    FakeHost host;
    SVGStyleRegistry registry(host);
    SVGFillKey key = FountainFill(3, {0, 0, 1, 1}, Rgb(0, 0, 0), Rgb(1, 1, 1));
    int16_t huge = 30000;
    std::memcpy(key.fill.body + offsetof(HostFountain, stopCount), &huge, sizeof huge);
    auto stored = std::make_unique<SVGFillKey>(key);
    EXPECT_EQ(registry.FindOrAddFill(*stored), 0);
    EXPECT_EQ(registry.FindOrAddFill(*stored), 0);
    EXPECT_LE(host.conversions, 2 * kFountainMaxStops);
}

}  // namespace
}  // namespace svgf
