// Texts imported by `svgfilter import` and exported again: characters in
// every encoding a document declares, spaces, placement of runs and
// anchors, fonts. Rendered by rsvg-convert with the same fonts installed,
// the result matches the document.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tool_renders.h"

namespace {

using namespace tool_renders;

constexpr uint32_t kPixels = 200;
// Glyph edges a sub-pixel apart differ by less.
constexpr int kThreshold = 48;

struct TextFixture {
    const char* name;
    double tolerance;  // share of pixels that may differ
};

class TextFixtures : public ::testing::TestWithParam<TextFixture> {
  protected:
    void SetUp() override {
        if (!HaveRenderer()) GTEST_SKIP() << "rsvg-convert is not installed";
    }
    media_test::TempFolder folder_;
};

TEST_P(TextFixtures, RenderLikeTheirDocuments) {
    const std::string name = GetParam().name;
    RoundTrip trip;
    ASSERT_TRUE(RoundTripFixture(folder_, "text", name, kPixels, &trip));
    EXPECT_GT(Inked(trip.original), 0.01);
    EXPECT_LE(Differing(trip.original, trip.imported, kThreshold), GetParam().tolerance) << trip.output;
}

INSTANTIATE_TEST_SUITE_P(Documents, TextFixtures,
                         ::testing::Values(TextFixture{"utf8_characters", 0.01}, TextFixture{"windows_1252", 0.01},
                                           TextFixture{"iso_8859_2", 0.01}, TextFixture{"windows_1251", 0.01},
                                           TextFixture{"utf_16", 0.01}, TextFixture{"xml_space", 0.01},
                                           TextFixture{"anchors", 0.01}, TextFixture{"styled_spans", 0.01},
                                           TextFixture{"fonts", 0.01}, TextFixture{"data_uri_images", 0.01},
                                           TextFixture{"font_sizes", 0.01},
                                           TextFixture{"per_character_spelled_out", 0.01},
                                           TextFixture{"text_path_spelled_out", 0.01}),
                         [](const auto& info) { return std::string(info.param.name); });

// rsvg-convert places a list's first value only and draws no textPath: a
// document of per-character lists or of text on straight paths is compared
// with its spelled-out form (each positioned character a span or text of
// its own, each line of text turned onto its path).
class SpelledOut : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (!HaveRenderer()) GTEST_SKIP() << "rsvg-convert is not installed";
    }
    media_test::TempFolder folder_;
};

TEST_P(SpelledOut, PlacesLikeItsSpelledOutForm) {
    const std::string name = GetParam();
    RoundTrip trip;
    ASSERT_TRUE(RoundTripFixture(folder_, "text", name, kPixels, &trip));
    std::filesystem::copy_file(std::string(SVGFILTER_TEST_DATA) + "/import_fixtures/text/" + name +
                                   "_spelled_out.svg",
                               folder_ / "spelled.svg");
    const Image spelled = Render(folder_, "spelled.svg", kPixels);
    EXPECT_GT(Inked(spelled), 0.01);
    EXPECT_LE(Differing(spelled, trip.imported, kThreshold), 0.01) << trip.output;
}

INSTANTIATE_TEST_SUITE_P(Documents, SpelledOut, ::testing::Values("per_character", "text_path"),
                         [](const auto& info) { return std::string(info.param); });

// Our own export writes characters beyond 255 as references in an
// ISO-8859-1 document: the import gives them back as written.
TEST(TextRoundTrip, TheSampleTextComesBackAsWritten) {
    media_test::TempFolder folder;
    std::string errors;
    ASSERT_EQ(Tool(folder, "export " + Quote(SVGFILTER_SOURCE_DIR "/examples/sample.json") + " sample.svg", &errors),
              0)
        << errors;
    ASSERT_EQ(Tool(folder, "import sample.svg imported.json", &errors), 0) << errors;
    const std::string imported = ReadFile(folder / "imported.json");
    EXPECT_NE(imported.find("\"AVATAR \xE2\x80\x9CWave\xE2\x80\x9D \xE2\x80\x93 caf\xC3\xA9 & <co>\""), std::string::npos)
        << imported;
    EXPECT_EQ(imported.find("&#"), std::string::npos);
}

}  // namespace
