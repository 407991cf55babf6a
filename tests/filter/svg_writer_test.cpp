// The document writer: document frame, levels, definitions, deferred masks
// and patterns, style rules in the three placements, and files that fail.
#include "svg_writer.h"

#include <gtest/gtest.h>

#include "platform/scripted_files.h"
#include "svg_elements.h"
#include "svg_font.h"
#include "svg_gradient.h"
#include "xml_check.h"

namespace svgf {
namespace {

constexpr char kHeader[] =
    "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n"
    "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 20000303 Stylable//EN\" "
    "\"http://www.w3.org/TR/2000/03/WD-SVG-20000303/DTD/svg-20000303-stylable.dtd\">\r\n"
    "<!-- Creator: Lumavecta -->\r\n";
constexpr char kSvgStart[] =
    "<svg xml:space=\"preserve\" xmlns=\"http://www.w3.org/2000/svg\" "
    "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"1in\" height=\"1in\" "
    "style=\"shape-rendering:geometricPrecision; text-rendering:geometricPrecision; "
    "image-rendering:optimizeQuality\"\r\n"
    "     viewBox=\"0 0 1000 1000\">\r\n";
constexpr int kDescriptor = 7;

SVGPage OneInchPage() {
    SVGPage page;
    page.pageRect = {0, 254000, 254000, 0};
    page.scaledRect = {0, 0, 1000, 1000};
    return page;
}

SVGExportOptions Options(uint32_t placement, uint32_t embedFonts = 0) {
    return SVGExportOptions{1, embedFonts, 0, kBitmapPng, 1000, placement, nullptr};
}

// A writer over scripted files whose document is at kDescriptor.
struct Fixture {
    explicit Fixture(uint32_t placement, uint32_t embedFonts = 0,
                     const std::string& path = "/out/drawing.svg")
        : writer(files.AttachDescriptor(kDescriptor), Options(placement, embedFonts), path, files) {}
    std::string Document() const { return files.DescriptorContent(kDescriptor); }
    platform::ScriptedFiles files;
    WSVGWriter writer;
};

SVGRectangle Rect(int x, const char* fillClass = nullptr) {
    SVGRectangle rect;
    rect.x = x;
    rect.width = 10;
    rect.height = 10;
    if (fillClass != nullptr) rect.classes.Add(std::make_shared<SVGFillSelector>(0));
    return rect;
}

SVGGradient_Linear Gradient(int number) {
    SVGGradient_Linear gradient;
    gradient.id.SetNumber(number);
    gradient.units = 1;
    SVGGradientStop stop;
    stop.colour = {255, 0, 0};
    gradient.stops.push_back(stop);
    return gradient;
}

TEST(SvgWriter, EmptyOneInchPageIsFrameOnly) {
    Fixture f(kCssStyleAttribute);
    ASSERT_EQ(f.writer.BeginDocument(OneInchPage()), 1);
    ASSERT_EQ(f.writer.EndDocument(), 1);
    EXPECT_EQ(f.Document(), std::string(kHeader) + kSvgStart + "</svg>\r\n");
    EXPECT_EQ(f.files.LiveTemporaries(), 0);
}

TEST(SvgWriter, NamedLayerBecomesGroupWithId) {
    Fixture f(kCssInternal);
    f.writer.BeginDocument(OneInchPage());
    SVGGroup layer;
    ASSERT_EQ(f.writer.OpenNamedElement(layer, "Layer 1"), 1);
    SVGRectangle rect = Rect(0);
    f.writer.WriteElement(rect);
    ASSERT_EQ(f.writer.EndNamedElement(), 1);
    ASSERT_EQ(f.writer.EndDocument(), 1);
    EXPECT_EQ(f.Document(), std::string(kHeader) + kSvgStart +
                                " <g id=\"Layer 1\">\r\n"
                                "  <rect x=\"0\" y=\"0\" width=\"10\" height=\"10\"/>\r\n"
                                " </g>\r\n"
                                "</svg>\r\n");
    EXPECT_WELL_FORMED(f.Document());
}

TEST(SvgWriter, HostNamesAreEscapedInIds) {
    Fixture f(kCssStyleAttribute);
    f.writer.BeginDocument(OneInchPage());
    SVGGroup layer;
    f.writer.OpenNamedElement(layer, "A&B <\"x\">");
    f.writer.EndNamedElement();
    f.writer.EndDocument();
    EXPECT_NE(f.Document().find(" <g id=\"A&amp;B &lt;&quot;x&quot;&gt;\">\r\n </g>\r\n"), std::string::npos);
    EXPECT_WELL_FORMED(f.Document());
}

TEST(SvgWriter, InternalStyleSheetClosesTheDefs) {
    Fixture f(kCssInternal);
    f.writer.BeginDocument(OneInchPage());
    SVGRectangle rect = Rect(0, "fil0");
    f.writer.WriteElement(rect);
    ASSERT_EQ(f.writer.WriteStyleRule(".fil0 {fill:#FF0000}"), 1);
    ASSERT_EQ(f.writer.WriteStyleRule(".str0 {stroke:#000000}"), 1);
    ASSERT_EQ(f.writer.EndDocument(), 1);
    EXPECT_EQ(f.Document(), std::string(kHeader) + kSvgStart +
                                " <defs>\r\n"
                                "  <style type=\"text/css\">\r\n"
                                "   <![CDATA[\r\n"
                                "    .fil0 {fill:#FF0000}\r\n"
                                "    .str0 {stroke:#000000}\r\n"
                                "   ]]>\r\n"
                                "  </style>\r\n"
                                " </defs>\r\n"
                                " <rect class=\"fil0\" x=\"0\" y=\"0\" width=\"10\" height=\"10\"/>\r\n"
                                "</svg>\r\n");
    EXPECT_WELL_FORMED(f.Document());
}

TEST(SvgWriter, ExternalStyleSheetGetsTheRulesAndNoDefs) {
    Fixture f(kCssExternal, 0, "/out/dir.v2/drawing.svg");
    EXPECT_EQ(f.writer.StyleSheetPath(), "/out/dir.v2/drawing.css");
    f.writer.BeginDocument(OneInchPage());
    ASSERT_EQ(f.writer.WriteStyleRule(".fil0 {fill:#FF0000}"), 1);
    ASSERT_EQ(f.writer.EndDocument(), 1);
    EXPECT_EQ(f.Document(), std::string(kHeader) +
                                "<?xml-stylesheet href=\"drawing.css\" type=\"text/css\"?>\r\n" + kSvgStart +
                                "</svg>\r\n");
    EXPECT_FALSE(f.files.NamedExists("/out/dir.v2/drawing.css")) << "in place only once the export is whole";
    ASSERT_TRUE(f.writer.CommitStyleSheet());
    EXPECT_EQ(f.files.NamedContent("/out/dir.v2/drawing.css"), ".fil0 {fill:#FF0000}\r\n");
    EXPECT_EQ(f.files.NamedPaths().size(), 1u);
}

TEST(SvgWriter, AStyleSheetThatWouldBeTheDocumentIsRefused) {
    // drawing.css would name the sheet like the document: whichever was
    // written last would replace the other.
    Fixture f(kCssExternal, 0, "/out/drawing.css");
    EXPECT_TRUE(f.writer.Failed());
    EXPECT_EQ(f.writer.BeginDocument(OneInchPage()), 0);
    EXPECT_EQ(f.writer.StyleSheetPath(), "");
    EXPECT_FALSE(f.files.NamedExists("/out/drawing.css"));
    // With the rules elsewhere the name is the document's alone.
    Fixture internal(kCssInternal, 0, "/out/drawing.css");
    EXPECT_FALSE(internal.writer.Failed());
}

TEST(SvgWriter, StyleAttributePlacementHasNoStylePart) {
    Fixture f(kCssStyleAttribute);
    f.writer.BeginDocument(OneInchPage());
    EXPECT_EQ(f.writer.WriteStyleRule(".fil0 {fill:none}"), 0);
    EXPECT_EQ(f.writer.EndDocument(), 1);
    EXPECT_EQ(f.Document().find("<defs>"), std::string::npos);
}

TEST(SvgWriter, StyleSheetPathReplacesOnlyTheLastExtension) {
    struct Case {
        const char* document;
        const char* sheet;
    } cases[] = {
        {"/out/drawing.svg", "/out/drawing.css"}, {"/out/drawing", "/out/drawing.css"},
        {"/out.d/drawing", "/out.d/drawing.css"}, {"drawing.v1.svg", "drawing.v1.css"},
        {"/out/.hidden", "/out/.hidden.css"},     {"plain", "plain.css"},
    };
    for (const Case& c : cases) EXPECT_EQ(StyleSheetPathFor(c.document), c.sheet) << c.document;
}

TEST(SvgWriter, GroupDefinitionsPrecedeTheGroupsChildren) {
    Fixture f(kCssStyleAttribute);
    f.writer.BeginDocument(OneInchPage());
    SVGGroup group;
    f.writer.BeginGroup(group);
    SVGRectangle first = Rect(1);
    f.writer.WriteElement(first);
    ASSERT_EQ(f.writer.WriteDefinition(Gradient(0)), 1);
    ASSERT_EQ(f.writer.WriteDefinition(Gradient(1)), 1);
    f.writer.EndGroup();
    f.writer.EndDocument();
    EXPECT_EQ(f.Document(), std::string(kHeader) + kSvgStart +
                                " <g >\r\n"
                                "  <defs>\r\n"
                                "   <linearGradient id=\"id0\" gradientUnits=\"objectBoundingBox\">\r\n"
                                "    <stop offset=\"0\" style=\"stop-color:#FF0000\"/>\r\n"
                                "   </linearGradient>\r\n"
                                "   <linearGradient id=\"id1\" gradientUnits=\"objectBoundingBox\">\r\n"
                                "    <stop offset=\"0\" style=\"stop-color:#FF0000\"/>\r\n"
                                "   </linearGradient>\r\n"
                                "  </defs>\r\n"
                                "  <rect x=\"1\" y=\"0\" width=\"10\" height=\"10\"/>\r\n"
                                " </g>\r\n"
                                "</svg>\r\n");
    EXPECT_WELL_FORMED(f.Document());
}

TEST(SvgWriter, TopLevelDefinitionsGoToTheLeadingDefs) {
    Fixture f(kCssExternal);
    f.writer.BeginDocument(OneInchPage());
    SVGRectangle rect = Rect(2);
    f.writer.WriteElement(rect);
    ASSERT_EQ(f.writer.WriteDefinition(Gradient(0)), 1);
    ASSERT_EQ(f.writer.WriteDefinitionText("  <!-- text -->\r\n"), 1);
    f.writer.EndDocument();
    EXPECT_EQ(f.Document(), std::string(kHeader) +
                                "<?xml-stylesheet href=\"drawing.css\" type=\"text/css\"?>\r\n" + kSvgStart +
                                " <defs>\r\n"
                                "  <linearGradient id=\"id0\" gradientUnits=\"objectBoundingBox\">\r\n"
                                "   <stop offset=\"0\" style=\"stop-color:#FF0000\"/>\r\n"
                                "  </linearGradient>\r\n"
                                "  <!-- text -->\r\n"
                                " </defs>\r\n"
                                " <rect x=\"2\" y=\"0\" width=\"10\" height=\"10\"/>\r\n"
                                "</svg>\r\n");
    EXPECT_WELL_FORMED(f.Document());
}

SVGMask Mask(int number) {
    SVGMask mask;
    mask.id.SetNumber(number);
    mask.hasRegion = true;
    mask.width = 10;
    mask.height = 10;
    return mask;
}

TEST(SvgWriter, MaskInsideGroupLandsInTheLocalDefs) {
    Fixture f(kCssStyleAttribute);
    f.writer.BeginDocument(OneInchPage());
    SVGGroup group;
    f.writer.BeginGroup(group);
    ASSERT_EQ(f.writer.BeginMask(Mask(0)), 1);
    SVGRectangle inMask = Rect(5);
    f.writer.WriteElement(inMask);
    ASSERT_EQ(f.writer.EndMask(), 1);
    SVGRectangle child = Rect(6);
    child.style.mask = MakeRC<SVGMaskInlineReference>("id0");
    f.writer.WriteElement(child);
    f.writer.EndGroup();
    ASSERT_EQ(f.writer.EndDocument(), 1);
    EXPECT_EQ(
        f.Document(),
        std::string(kHeader) + kSvgStart +
            " <g >\r\n"
            "  <defs>\r\n"
            "   <mask maskUnits=\"userSpaceOnUse\" id=\"id0\" x=\"0\" y=\"0\" width=\"10\" height=\"10\">\r\n"
            "    <rect x=\"5\" y=\"0\" width=\"10\" height=\"10\"/>\r\n"
            "   </mask>\r\n"
            "  </defs>\r\n"
            "  <rect style=\"mask:url(#id0)\" x=\"6\" y=\"0\" width=\"10\" height=\"10\"/>\r\n"
            " </g>\r\n"
            "</svg>\r\n");
    EXPECT_WELL_FORMED(f.Document());
}

TEST(SvgWriter, TopLevelPatternKeepsItsContentInsideTheDefs) {
    Fixture f(kCssStyleAttribute);
    f.writer.BeginDocument(OneInchPage());
    SVGPattern pattern;
    pattern.id.SetNumber(0);
    pattern.width = 4;
    pattern.height = 4;
    ASSERT_EQ(f.writer.BeginPattern(pattern), 1);
    SVGRectangle tile = Rect(1);
    f.writer.WriteElement(tile);
    // A definition made inside the pattern's content stays inside the defs too.
    f.writer.WriteDefinition(Gradient(1));
    ASSERT_EQ(f.writer.EndPattern(), 1);
    SVGRectangle user = Rect(2);
    user.style.fill = CRCPtr<SVGFill>(std::make_unique<SVGFill_InlineReference>("id0"));
    f.writer.WriteElement(user);
    ASSERT_EQ(f.writer.EndDocument(), 1);
    EXPECT_EQ(f.Document(),
              std::string(kHeader) + kSvgStart +
                  " <defs>\r\n"
                  "  <pattern id=\"id0\" patternUnits=\"userSpaceOnUse\" x=\"0\" y=\"0\" width=\"4\" "
                  "height=\"4\">\r\n"
                  "    <linearGradient id=\"id1\" gradientUnits=\"objectBoundingBox\">\r\n"
                  "     <stop offset=\"0\" style=\"stop-color:#FF0000\"/>\r\n"
                  "    </linearGradient>\r\n"
                  "   <rect x=\"1\" y=\"0\" width=\"10\" height=\"10\"/>\r\n"
                  "  </pattern>\r\n"
                  " </defs>\r\n"
                  " <rect style=\"fill:url(#id0)\" x=\"2\" y=\"0\" width=\"10\" height=\"10\"/>\r\n"
                  "</svg>\r\n");
    EXPECT_WELL_FORMED(f.Document());
}

TEST(SvgWriter, NestedMasksAndGroupsStayWellFormed) {
    for (uint32_t placement : {kCssInternal, kCssExternal, kCssStyleAttribute}) {
        Fixture f(placement);
        f.writer.BeginDocument(OneInchPage());
        SVGGroup outer, inner;
        f.writer.BeginGroup(outer);
        f.writer.BeginMask(Mask(0));
        f.writer.BeginGroup(inner);
        f.writer.WriteDefinition(Gradient(1));
        f.writer.BeginMask(Mask(2));
        SVGRectangle deep = Rect(3);
        f.writer.WriteElement(deep);
        f.writer.EndMask();
        f.writer.EndGroup();
        f.writer.EndMask();
        f.writer.BeginMask(Mask(3));
        f.writer.EndMask();
        f.writer.EndGroup();
        f.writer.BeginMask(Mask(4));
        f.writer.WriteDefinition(Gradient(5));
        f.writer.EndMask();
        f.writer.WriteStyleRule(".fil0 {fill:none}");
        ASSERT_EQ(f.writer.EndDocument(), 1);
        EXPECT_EQ(f.writer.Depth(), 0);
        EXPECT_WELL_FORMED(f.Document());
        EXPECT_EQ(f.files.LiveTemporaries(), 0);
    }
}

TEST(SvgWriter, UnmatchedClosesAndDeferredEndsCloseNothing) {
    Fixture f(kCssInternal);
    EXPECT_EQ(f.writer.EndGroup(), 0);  // before the document
    f.writer.BeginDocument(OneInchPage());
    EXPECT_EQ(f.writer.EndGroup(), 0);
    EXPECT_EQ(f.writer.EndMask(), 0);
    EXPECT_EQ(f.writer.EndAnchor(), 0);
    ASSERT_EQ(f.writer.EndDocument(), 1);
    EXPECT_EQ(f.Document(), std::string(kHeader) + kSvgStart + "</svg>\r\n");
}

TEST(SvgWriter, OpenElementsAtTheEndFailTheDocument) {
    Fixture f(kCssInternal);
    f.writer.BeginDocument(OneInchPage());
    SVGGroup group;
    f.writer.BeginGroup(group);
    EXPECT_EQ(f.writer.EndDocument(), 0);
    EXPECT_TRUE(f.writer.Failed());
}

TEST(SvgWriter, DocumentCanBeBegunAndEndedOnlyOnce) {
    Fixture f(kCssInternal);
    ASSERT_EQ(f.writer.BeginDocument(OneInchPage()), 1);
    EXPECT_EQ(f.writer.BeginDocument(OneInchPage()), 0);
    ASSERT_EQ(f.writer.EndDocument(), 1);
    EXPECT_EQ(f.writer.EndDocument(), 0);
    EXPECT_EQ(f.Document(), std::string(kHeader) + kSvgStart + "</svg>\r\n");
}

TEST(SvgWriter, SpareWordAndCssMode) {
    Fixture f(kCssExternal);
    EXPECT_EQ(f.writer.GetSpare(), 0u);
    f.writer.SetSpare(42);
    EXPECT_EQ(f.writer.GetSpare(), 42u);
    EXPECT_EQ(f.writer.GetCssMode(), kCssExternal);
    f.writer.SetCssMode(kCssStyleAttribute);
    EXPECT_EQ(f.writer.GetCssMode(), kCssStyleAttribute);
    EXPECT_EQ(f.writer.NextDefinitionNumber(), 0);
    EXPECT_EQ(f.writer.NextDefinitionNumber(), 1);
    EXPECT_EQ(f.writer.DefinitionCounter(), 2);
}

// Drives a document that touches every part: levels, local and top-level
// definitions, a mask, fonts and rules.
int WriteFullDocument(WSVGWriter& writer) {
    if (writer.BeginDocument(OneInchPage()) == 0) return 0;
    SVGGroup group;
    writer.OpenNamedElement(group, "Layer");
    SVGRectangle rect = Rect(0);
    writer.WriteElement(rect);
    writer.WriteDefinition(Gradient(0));
    writer.BeginMask(Mask(1));
    writer.WriteElement(rect);
    writer.EndMask();
    writer.EndNamedElement();
    writer.WriteDefinition(Gradient(2));
    SVGFont font;
    font.fullName = "Sans";
    font.id.SetName("FontID0");
    if (writer.BeginFont(font) != 0) writer.EndFont();
    writer.WriteStyleRule(".fil0 {fill:none}");
    return writer.EndDocument();
}

TEST(SvgWriter, EveryTemporaryFileThatCannotBeMadeFailsTheDocument) {
    for (uint32_t placement : {kCssInternal, kCssExternal, kCssStyleAttribute}) {
        Fixture probe(placement, 1);
        ASSERT_EQ(WriteFullDocument(probe.writer), 1);
        const int made = probe.files.TemporariesCreated();
        ASSERT_GT(made, 3);
        for (int nth = 1; nth <= made; ++nth) {
            platform::ScriptedFiles files;
            files.FailTemporary(nth);
            {
                WSVGWriter writer(files.AttachDescriptor(kDescriptor), Options(placement, 1), "/o/d.svg",
                                  files);
                EXPECT_EQ(WriteFullDocument(writer), 0) << "placement " << placement << ", file " << nth;
            }
            EXPECT_EQ(files.LiveTemporaries(), 0);
            EXPECT_TRUE(files.NamedPaths().empty()) << "an incomplete export leaves no style sheet";
        }
    }
}

TEST(SvgWriter, EveryFailedWriteFailsTheDocument) {
    for (uint32_t placement : {kCssInternal, kCssExternal, kCssStyleAttribute}) {
        Fixture probe(placement, 1);
        ASSERT_EQ(WriteFullDocument(probe.writer), 1);
        const int writes = probe.files.WritesMade();
        for (int nth = 1; nth <= writes; ++nth) {
            platform::ScriptedFiles files;
            files.FailWrite(nth, platform::FileCause::hardIO);
            {
                WSVGWriter writer(files.AttachDescriptor(kDescriptor), Options(placement, 1), "/o/d.svg",
                                  files);
                platform::FileCause told = platform::FileCause::none;
                writer.SetFailureListener([&](platform::FileCause cause) { told = cause; });
                EXPECT_EQ(WriteFullDocument(writer), 0) << "placement " << placement << ", write " << nth;
                EXPECT_EQ(writer.FailureCause(), platform::FileCause::hardIO) << "write " << nth;
                // The header is written before a listener can be set.
                if (nth > 1) {
                    EXPECT_EQ(told, platform::FileCause::hardIO) << "write " << nth;
                }
            }
            EXPECT_EQ(files.LiveTemporaries(), 0);
            EXPECT_TRUE(files.NamedPaths().empty());
        }
    }
}

TEST(SvgWriter, StyleSheetThatCannotBeCreatedFailsTheWriter) {
    platform::ScriptedFiles files;
    files.FailNamed(true);
    WSVGWriter writer(files.AttachDescriptor(kDescriptor), Options(kCssExternal), "/o/d.svg", files);
    EXPECT_TRUE(writer.Failed());
    EXPECT_EQ(writer.BeginDocument(OneInchPage()), 0);
    EXPECT_EQ(writer.EndDocument(), 0);
}

TEST(SvgWriter, DestroyedMidwayLeavesNoTemporaryFile) {
    platform::ScriptedFiles files;
    {
        WSVGWriter writer(files.AttachDescriptor(kDescriptor), Options(kCssInternal, 1), "/o/d.svg", files);
        writer.BeginDocument(OneInchPage());
        SVGGroup group;
        writer.BeginGroup(group);
        writer.BeginMask(Mask(0));
        EXPECT_GT(files.LiveTemporaries(), 3);
    }
    EXPECT_EQ(files.LiveTemporaries(), 0);
}

}  // namespace
}  // namespace svgf
