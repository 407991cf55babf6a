// Groups, object groups, links, clip groups and transforms: the nesting the
// host reports becomes nested elements, each end closing what its begin opened.
#include <gtest/gtest.h>

#include "export_fixture.h"

namespace svgf {
namespace {

using namespace testing_support;
using SVGExpStructureTest = ExportFixture;

HostLink Link(const char* url, const HostRect* box = nullptr, HostLinkData* data = nullptr) {
    static HostLinkData storage[8];
    static int next = 0;
    HostLinkData& d = data != nullptr ? *data : storage[next++ % 8];
    d = HostLinkData{url, {}, box == nullptr ? 1u : 0u};
    return HostLink{box, &d};
}

TEST_F(SVGExpStructureTest, GroupsNestAndOnlyOpenWhileDrawing) {
    SVGExp& exp = Begin(kCssStyleAttribute);
    exp.EndDrawing();
    // Outside a drawing: nothing opens and nothing closes.
    EXPECT_EQ(exp.BeginGroup(), 0);
    EXPECT_EQ(exp.BeginObjectGroup(nullptr), 0);
    EXPECT_EQ(exp.EndGroup(), 0);
    exp.BeginDrawing();
    EXPECT_EQ(exp.BeginGroup(), 0);
    EXPECT_EQ(exp.BeginGroup(), 0);
    EXPECT_EQ(exp.EndGroup(), 0);
    EXPECT_EQ(exp.EndGroup(), 0);
    // Unmatched ends close nothing.
    EXPECT_EQ(exp.EndGroup(), 0);
    EXPECT_EQ(exp.EndLink(), 0);
    EXPECT_EQ(exp.EndClipGroup(), 0);
    EXPECT_EQ(exp.EndTransform(), 0);
    EXPECT_EQ(exp.EndNamedLayer(), 0);
    EXPECT_EQ(Body(), " <g >\r\n  <g >\r\n  </g>\r\n </g>\r\n");
}

TEST_F(SVGExpStructureTest, LinksGiveOneAnchorPerUrlAndNestInsideTheirGroup) {
    SVGExp& exp = Begin(kCssStyleAttribute);
    const HostLink a = Link("http://a.example/?x=1&y=2");
    const HostLink sameA = Link("http://a.example/?x=1&y=2");
    const HostLink b = Link("#b");
    const HostLinkData noUrlData{nullptr, {}, 1};
    const HostLink noUrl{nullptr, &noUrlData};
    EXPECT_EQ(exp.BeginObjectGroup(&a), 0);
    EXPECT_EQ(exp.BeginLink(&sameA), 0);  // the anchor already open: none more
    EXPECT_EQ(exp.BeginLink(&b), 0);
    EXPECT_EQ(exp.EndLink(), 0);
    EXPECT_EQ(exp.EndLink(), 0);
    EXPECT_EQ(exp.EndGroup(), 0);
    EXPECT_EQ(exp.BeginObjectGroup(&noUrl), 0);
    EXPECT_EQ(exp.EndGroup(), 0);
    EXPECT_EQ(Body(),
              " <g >\r\n"
              "  <a xlink:href=\"http://a.example/?x=1&amp;y=2\">\r\n"
              "   <a xlink:href=\"#b\">\r\n"
              "   </a>\r\n"
              "  </a>\r\n"
              " </g>\r\n"
              " <g >\r\n"
              " </g>\r\n");
}

TEST_F(SVGExpStructureTest, HotSpotCoversTheLinkArea) {
    SVGExp& exp = Begin();
    const HostRect area{25400, 254000, 127000, 203200};  // x 100..500, y 0..200 in user units
    const HostLink link = Link("#top", &area);
    EXPECT_EQ(exp.BeginLink(&link), 0);
    EXPECT_EQ(exp.EndLink(), 0);
    const std::string doc = End();
    EXPECT_NE(doc.find(" <a xlink:href=\"#top\">\r\n"
                       "  <rect class=\"fil0\" x=\"100\" y=\"0\" width=\"400\" height=\"200\"/>\r\n"
                       " </a>\r\n"),
              std::string::npos)
        << doc;
    EXPECT_NE(doc.find(".fil0 {fill:none}"), std::string::npos);
}

TEST_F(SVGExpStructureTest, ClipPathsGoToTheTopDefinitions) {
    SVGExp& exp = Begin(kCssStyleAttribute);
    exp.BeginGroup();
    const HostPoint points[3] = {P(10, 20), P(30, 20), P(30, 40)};
    const uint8_t types[3] = {node::kMove, node::kLine, node::kLine | node::kClose};
    ClipRecord path{};
    path.kind = 4;
    path.shape.path = {3, points, types, 0};
    ClipRecord rect{};
    rect.kind = 3;
    // r1..r4: top, left, bottom, right in host units, converted like points.
    rect.shape.rect[0] = 254000 - 10 * 254;
    rect.shape.rect[1] = 5 * 254;
    rect.shape.rect[2] = 254000 - 50 * 254;
    rect.shape.rect[3] = 25 * 254;
    ClipRecord unknown{};
    unknown.kind = 9;
    ClipRecord unsupported{};
    unsupported.kind = 2;
    EXPECT_EQ(exp.BeginClipGroup(reinterpret_cast<HostWord>(&path), 0), 0);
    EXPECT_EQ(exp.BeginClipGroup(reinterpret_cast<HostWord>(&unsupported), 0), 100);
    EXPECT_EQ(exp.EndClipGroup(), 0);  // closes nothing: its begin opened nothing
    EXPECT_EQ(exp.BeginClipGroup(reinterpret_cast<HostWord>(&rect), 0), 0);
    EXPECT_EQ(exp.BeginClipGroup(reinterpret_cast<HostWord>(&unknown), 0), 0);
    EXPECT_EQ(exp.EndClipGroup(), 0);
    EXPECT_EQ(exp.EndClipGroup(), 0);
    EXPECT_EQ(exp.EndClipGroup(), 0);
    exp.EndGroup();
    const std::string doc = End();
    EXPECT_NE(doc.find(" <defs>\r\n"
                       "  <clipPath id=\"id0\">\r\n"
                       "   <path d=\"M10 20l20 0 0 20z\"/>\r\n"
                       "  </clipPath>\r\n"
                       "  <clipPath id=\"id1\">\r\n"
                       "   <rect x=\"5\" y=\"10\" width=\"20\" height=\"40\"/>\r\n"
                       "  </clipPath>\r\n"
                       " </defs>\r\n"
                       " <g >\r\n"
                       "  <g style=\"clip-path:url(#id0)\">\r\n"
                       "   <g style=\"clip-path:url(#id1)\">\r\n"
                       "    <g >\r\n"
                       "    </g>\r\n"
                       "   </g>\r\n"
                       "  </g>\r\n"
                       " </g>\r\n"),
              std::string::npos)
        << doc;
}

TEST_F(SVGExpStructureTest, TransformsOpenGroupsOnlyWhenNotSimple) {
    SVGExp& exp = Begin(kCssStyleAttribute);
    exp.Font().hostFont = 77;
    // Scale 2 with offsets: kept for the text, no group.
    const HostMatrix simple{{2, 0, 10.4, 0, 2, -3.5}};
    TransformRecord record{nullptr, &simple, nullptr};
    EXPECT_EQ(exp.BeginTransform(&record), 0);
    EXPECT_EQ(exp.Text().offsetX, 10);
    EXPECT_EQ(exp.Text().offsetY, -4);
    EXPECT_EQ(exp.Text().factor, 2);
    EXPECT_EQ(exp.TransformGroupOpen(), 0u);
    // The font handle held before is released, not dropped.
    EXPECT_EQ(g_releasedFonts, std::vector<HostHandle>{77});
    exp.Font().hostFont = 78;
    EXPECT_EQ(exp.EndTransform(), 0);
    EXPECT_EQ(g_releasedFonts, (std::vector<HostHandle>{77, 78}));
    EXPECT_EQ(exp.Font().hostFont, 0u);
    // A quarter turn about the page's lower-left corner (host y up) and a
    // shear; nested, each end closes its own group.
    const HostMatrix turn{{0, -1, 0, 1, 0, 0}};
    const HostMatrix shear{{1, 0.5, 0, 0, 1, 0}};
    record.matrix = &turn;
    EXPECT_EQ(exp.BeginTransform(&record), 0);
    EXPECT_EQ(exp.TransformGroupOpen(), 1u);
    EXPECT_EQ(exp.Text().factor, 1);
    record.matrix = &shear;
    EXPECT_EQ(exp.BeginTransform(&record), 0);
    EXPECT_EQ(exp.EndTransform(), 0);
    EXPECT_EQ(exp.EndTransform(), 0);
    EXPECT_EQ(Body(),
              " <g transform=\"matrix(0 -1 1 0 -1000 1000)\">\r\n"
              "  <g transform=\"matrix(1 0 -0.5 1 500 0)\">\r\n"
              "  </g>\r\n"
              " </g>\r\n");
}

TEST_F(SVGExpStructureTest, ResetFlagLeavesTheTransformedGroupToEndGroup) {
    SVGExp& exp = Begin(kCssStyleAttribute);
    const HostMatrix turn{{0, -1, 0, 1, 0, 0}};
    const TransformRecord record{nullptr, &turn, nullptr};
    EXPECT_EQ(exp.BeginTransform(&record), 0);
    EXPECT_EQ(exp.ResetFlag(), 0);
    EXPECT_EQ(exp.TransformGroupOpen(), 0u);
    EXPECT_EQ(exp.EndTransform(), 0);  // closes nothing now
    EXPECT_EQ(exp.EndGroup(), 0);      // the group ends here
    EXPECT_EQ(Body(), " <g transform=\"matrix(0 -1 1 0 -1000 1000)\">\r\n </g>\r\n");
}

TEST_F(SVGExpStructureTest, LayersCloseOnlyWhatTheyOpened) {
    SVGExp& exp = Begin(kCssStyleAttribute);
    EXPECT_EQ(exp.BeginNamedLayer("L1"), 0);
    EXPECT_EQ(exp.EndNamedLayer(), 0);
    EXPECT_EQ(exp.EndNamedLayer(), 0);
    EXPECT_EQ(Body(), " <g id=\"L1\">\r\n </g>\r\n");
}

}  // namespace
}  // namespace svgf
