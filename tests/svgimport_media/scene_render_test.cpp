// Where the canvas puts things is where they belong: each scene drawn on
// the import host is described, exported back to SVG by the module and
// rendered beside the SVG the scene stands for.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "canvas_fixtures.h"
#include "import_calls.h"
#include "scene_render.h"

namespace {

using namespace canvas_test;

class SceneRender : public scene_render::RenderTest, public ::testing::WithParamInterface<Fixture> {};

TEST_P(SceneRender, LooksLikeTheSvgItStandsFor) {
    const Fixture& fixture = GetParam();
    host::StandInHost host{&import_test::NoModule};
    host::import::ImportHost import{host};
    Play(host, import, fixture);
    ASSERT_TRUE(import.Balance().Balanced()) << import.Balance().problems.front();
    const scene_render::Comparison c = Compare(import, Document(fixture));
    ASSERT_GT(c.pixels, 0);
    const double share = static_cast<double>(fixture.coverageOnly ? c.coverageDiffering : c.differing) / c.pixels;
    EXPECT_LE(share, fixture.tolerance) << c.differing << " differing, " << c.coverageDiffering
                                         << " covered differently of " << c.pixels << "\n"
                                         << c.exported;
    // Something was drawn in both.
    EXPECT_GT(c.coveredWant, c.pixels / 50);
    EXPECT_NEAR(c.coveredGot, c.coveredWant, c.coveredWant * 0.05 + c.pixels * fixture.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, SceneRender, ::testing::ValuesIn(Fixtures()), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name) ch = ch == '-' ? '_' : ch;
    return name;
});

}  // namespace
