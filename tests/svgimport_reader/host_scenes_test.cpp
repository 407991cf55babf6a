// The reader on the stand-in host's import side: documents read from SVG
// text, drawn through the host canvas; the canvas's own scenes, read from
// the SVG each stands for, give the call logs the canvas gave for objects
// built by hand.
#include <gtest/gtest.h>

#include <string>

#include "canvas_fixtures.h"
#include "golden.h"
#include "import_calls.h"
#include "reader_fixture.h"
#include "reader_scenes.h"

namespace {

using namespace SVG;
using namespace reader_test;
using host::import::ImportHost;

// Reads `svg` and draws it on the import host; the reader is the tiles'
// drawer, as in an import.
void Import(host::StandInHost& host, ImportHost& import, const std::string& svg) {
    SvgDom dom(svg);
    AttributeStyles styles;
    WParser reader(dom.Document(), &styles);
    ASSERT_TRUE(reader.Rooted()) << DescribeReadStatus(reader.Status());
    canvas_test::WithCanvas(
        host, [&](WCanvas_UDI& canvas) { EXPECT_EQ(reader.Parse(&canvas), 1); }, &reader);
    import.SetPage(svgf::HostRect{0, canvas_test::kPage, canvas_test::kPage, 0});
}

class CanvasScenes : public ::testing::TestWithParam<canvas_test::Fixture> {};

TEST_P(CanvasScenes, ReadFromTheirSvgGiveTheCanvasLog) {
    host::StandInHost host{&import_test::NoModule};
    ImportHost import{host};
    Import(host, import, canvas_test::Document(GetParam()));
    const auto balance = import.Balance();
    EXPECT_TRUE(balance.Balanced()) << balance.problems.front();
    // The clips scene's objects were built with one clip path of two shapes
    // where its SVG has a clipped group around a clipped rectangle: the
    // same region, other calls.
    const std::string name = GetParam().name;
    const std::string folder = name == "clips" ? "svgimport_reader/" : "svgimport/";
    testsupport::ExpectGolden(folder + name + ".log", import.Log().Text());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, CanvasScenes, ::testing::ValuesIn(canvas_test::Fixtures()),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name) c = c == '-' ? '_' : c;
                             return name;
                         });

// A pattern whose content is filled with the pattern itself: the host has
// the tile drawn once, and inside it the pattern paints nothing.
TEST(HostCycles, APatternInsideItsOwnTileEnds) {
    host::StandInHost host{&import_test::NoModule};
    ImportHost import{host};
    Import(host, import, SceneDocument(R"svg(<pattern id="p" patternUnits="userSpaceOnUse" width="20" height="20">
<rect width="10" height="10" fill="url(#p)"/><circle cx="15" cy="15" r="4" fill="#0000FF"/></pattern>
<rect x="20" y="20" width="100" height="100" fill="url(#p)"/>)svg"));
    const auto balance = import.Balance();
    EXPECT_TRUE(balance.Balanced()) << balance.problems.front();
    const std::string log = import.Log().Text();
    size_t tiles = 0;
    for (size_t at = log.find("kind=10"); at != std::string::npos; at = log.find("kind=10", at + 1)) ++tiles;
    EXPECT_EQ(tiles, 1u) << log;
    EXPECT_NE(log.find("Ellipse"), std::string::npos) << "the tile's other content is drawn";
}

class ReaderScenes : public ::testing::TestWithParam<Scene> {};

TEST_P(ReaderScenes, GiveTheirCallLog) {
    host::StandInHost host{&import_test::NoModule};
    ImportHost import{host};
    Import(host, import, SceneDocument(GetParam().svg));
    const auto balance = import.Balance();
    EXPECT_TRUE(balance.Balanced()) << balance.problems.front();
    EXPECT_TRUE(import.Warnings().empty()) << import.Warnings().front();
    testsupport::ExpectGolden(std::string("svgimport_reader/") + GetParam().name + ".log",
                              import.Log().Text());
}

std::vector<Scene> LoggedScenes() {
    std::vector<Scene> out;
    for (const Scene& s : Scenes()) {
        if (!s.media) out.push_back(s);
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(Scenes, ReaderScenes, ::testing::ValuesIn(LoggedScenes()), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name) c = c == '-' ? '_' : c;
    return name;
});

}  // namespace
