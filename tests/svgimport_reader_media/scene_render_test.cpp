// The reader's scenes through the whole import side: read from SVG text,
// drawn on the stand-in host, exported back to SVG by the module and
// rendered beside the document they came from.
#include "scene_render.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "attribute_styles.h"
#include "canvas_fixtures.h"
#include "import_calls.h"
#include "markup/parser/css_dictionary.h"
#include "markup/parser/xml_parser.h"
#include "markup/style/graphics_imp.h"
#include "media_fixtures.h"
#include "platform/font_backend.h"
#include "reader_scenes.h"
#include "svg_dom.h"
#include "svgimport/reader.h"
#include "svgimport/visual_styles.h"

namespace {

using namespace reader_test;

class ReaderRender : public scene_render::RenderTest, public ::testing::WithParamInterface<Scene> {};

TEST_P(ReaderRender, LooksLikeItsDocument) {
    const Scene& scene = GetParam();
    // A picture beside the document, for linked images.
    ASSERT_TRUE(host::media::WriteImageFile(folder_ / "picture.png", media_test::Quarters(16, 16), {}));
    const std::string document = SceneDocument(scene.svg);
    std::ofstream(folder_ / "scene.svg") << document;

    host::StandInHost host{&import_test::NoModule};
    host::import::ImportHost import{host};
    import.SetDocument(folder_ / "scene.svg");
    {
        SvgDom dom(document);
        AttributeStyles styles;
        SVG::WParser reader(dom.Document(), &styles);
        ASSERT_TRUE(reader.Rooted());
        canvas_test::WithCanvas(
            host, [&](SVG::WCanvas_UDI& canvas) { EXPECT_EQ(reader.Parse(&canvas), 1); }, &reader);
    }
    import.SetPage(svgf::HostRect{0, canvas_test::kPage, canvas_test::kPage, 0});
    ASSERT_TRUE(import.Balance().Balanced()) << import.Balance().problems.front();

    const scene_render::Comparison c =
        Compare(import, SceneDocument(scene.reference.empty() ? scene.svg : scene.reference));
    ASSERT_GT(c.pixels, 0);
    EXPECT_LE(static_cast<double>(c.differing) / c.pixels, scene.tolerance)
        << c.differing << " differing, " << c.coverageDiffering << " covered differently of " << c.pixels
        << "\n"
        << c.exported;
    EXPECT_GT(c.coveredWant, c.pixels / 100);
    EXPECT_NEAR(c.coveredGot, c.coveredWant, c.coveredWant * 0.05 + c.pixels * scene.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Scenes, ReaderRender, ::testing::ValuesIn(Scenes()), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name) ch = ch == '-' ? '_' : ch;
    return name;
});

}  // namespace

namespace {

// The whole road of an import's styles: the document parsed by the markup
// parser, its styles computed by the style engine (a class rule, style
// attributes and presentation attributes), read, drawn on the host,
// exported and rendered beside itself.
class StyledRender : public scene_render::RenderTest {};

TEST_F(StyledRender, RulesStyleAttributesAndPresentationAttributes) {
    const std::string document = SceneDocument(R"svg(<style>.rule { fill: #00FF00 }</style>
<rect x="20" y="20" width="60" height="60" fill="#FF0000" stroke="#000000" stroke-width="4"/>
<rect x="100" y="20" width="60" height="60" fill="#FF0000" class="rule"/>
<rect x="20" y="100" width="60" height="60" fill="#FF0000" class="rule" style="fill: #0000FF"/>
<g fill="#800080"><rect x="100" y="100" width="60" height="60"/></g>)svg");
    const std::string path = folder_ / "styled.svg";
    std::ofstream(path) << document;

    platform::FixedFontBackend fonts;
    markup::style::GraphicsImp graphics(fonts);
    markup::CSSDictionary css;
    ASSERT_EQ(css.Load((std::string(SVGFILTER_DICTIONARY_DIR) + markup::CSSDictionary::kFileName).c_str()),
              markup::kErr_None);
    markup::style::CSSManager manager(css);
    SVG::AddPresentationAttributes(manager);
    markup::WXMLParser_WepImp parser;
    parser.Init(SVGFILTER_DICTIONARY_DIR);
    const markup::WDOMHandle dom = parser.Parse(path.c_str(), &manager);
    ASSERT_FALSE(dom.IsNull()) << parser.FailureCause();

    host::StandInHost host{&import_test::NoModule};
    host::import::ImportHost import{host};
    import.SetDocument(path);
    {
        markup::style::WDOMVisualDoc_WerImp visual(dom, path.c_str());
        SVG::WVisualStyleSource styles(visual);
        SVG::WParser reader(dom, &styles);
        ASSERT_TRUE(reader.Rooted());
        canvas_test::WithCanvas(
            host, [&](SVG::WCanvas_UDI& canvas) { EXPECT_EQ(reader.Parse(&canvas), 1); }, &reader);
    }
    import.SetPage(svgf::HostRect{0, canvas_test::kPage, canvas_test::kPage, 0});
    const scene_render::Comparison c = Compare(import, document);
    ASSERT_GT(c.pixels, 0);
    EXPECT_LE(c.differing, c.pixels / 100) << c.exported;
    EXPECT_GT(c.coveredWant, c.pixels / 4);
}

}  // namespace
