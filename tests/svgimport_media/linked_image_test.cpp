// Linked images through the canvas on the stand-in host's image import:
// the call log of images by format letter, refused and missing ones, links
// beside the document, absolute and as file: URLs (golden, the test's
// folder written as $DIR); and an image rendered where SVG puts it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "canvas_fixtures.h"
#include "golden.h"
#include "host/media/image_codec.h"
#include "import_calls.h"
#include "media_fixtures.h"
#include "scene_render.h"

namespace {

using namespace SVG;
using namespace canvas_test;

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

bool HaveImages(host::StandInHost& host) {
    return host.Services().Has(svgf::svc::kImportSubContext0);
}

void WritePictures(const media_test::TempFolder& folder) {
    const host::media::Image picture = media_test::Quarters(8, 8);
    ASSERT_TRUE(host::media::WriteImageFile(folder / "pic.png", picture, {}));
    host::media::WriteOptions jpeg;
    jpeg.format = host::media::ImageFormat::kJpeg;
    ASSERT_TRUE(host::media::WriteImageFile(folder / "shot.JPG", picture, jpeg));
    host::media::WriteOptions gif;
    gif.format = host::media::ImageFormat::kGif;
    gif.bitsPerPixel = 8;
    ASSERT_TRUE(host::media::WriteImageFile(folder / "anim.gif", picture, gif));
}

class LinkedImages : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!HaveImages(host)) GTEST_SKIP() << "no image services";
        WritePictures(folder_);
        import.SetDocument(folder_ / "drawing.svg");
    }

    // Draws the image of each link in a row, an inch square each.
    void DrawLinks(const std::vector<std::string>& links) {
        WithCanvas(host, [&](WCanvas_UDI& canvas) {
            Builder b;
            double x = 0;
            for (const std::string& link : links) {
                auto image = b.Image(x, 0, 90, 90, link.c_str());
                image->presentation.fill = Colour(0x808080);
                EXPECT_EQ(canvas.DrawImage(*image), 1);
                x += 10;
            }
        });
    }

    media_test::TempFolder folder_;
    host::StandInHost host{&import_test::NoModule};
    host::import::ImportHost import{host};
};

TEST_F(LinkedImages, GiveTheirCallLog) {
    DrawLinks({"pic.png", "shot.JPG", "anim.gif", "pic.bmp", "noextension", "missing.png", folder_ / "pic.png",
               "file://" + folder_ / "anim.gif", "file://elsewhere/pic.png"});
    const auto balance = import.Balance();
    EXPECT_TRUE(balance.Balanced()) << balance.problems.front();
    testsupport::ExpectGolden("svgimport/linked-images.log", Replace(import.Log().Text(), folder_.path(), "$DIR"));
    // Five pictures reached the drawing: beside the document by each
    // letter, by absolute path and by a local file: URL.
    size_t images = 0;
    for (size_t at = import.Log().Text().find("\nImage handle="); at != std::string::npos;
         at = import.Log().Text().find("\nImage handle=", at + 1)) {
        ++images;
    }
    EXPECT_EQ(images, 5u);
}

TEST_F(LinkedImages, ALinkNotBesideTheDocumentIsTriedAsWritten) {
    // The picture lies in the current folder, the document elsewhere.
    import.SetDocument(folder_ / "nowhere/drawing.svg");
    const std::string cwd = std::filesystem::current_path().string();
    std::filesystem::current_path(folder_.path());
    DrawLinks({"pic.png"});
    std::filesystem::current_path(cwd);
    const std::string log = Replace(import.Log().Text(), folder_.path(), "$DIR");
    EXPECT_NE(log.find("RunImageImport sub={size=748 flags=0x4000088 word12=1 word180=1 file=\"$DIR/nowhere/pic.png\""
                       " format=0x322 handle=0x20001 services=set} -> 0\n"
                       "RunImageImport sub={size=748 flags=0x4000088 word12=1 word180=1 file=\"pic.png\" "
                       "format=0x322 handle=0x20001 services=set} -> 1"),
              std::string::npos)
        << log;
    EXPECT_TRUE(import.Balance().Balanced());
}

// An image takes the object's opacity (its groups' included) as its
// uniform transparency; one wholly transparent or hidden is not sent.
TEST_F(LinkedImages, AnImagesOpacityIsItsTransparency) {
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        Builder b;
        for (const double opacity : {0.5, 0.0, 1.0}) {
            auto image = b.Image(20, 30, 100, 60, "pic.png");
            image->presentation.opacity = opacity;
            image->presentation.visible = opacity != 1.0;
            canvas.DrawImage(*image);
        }
    });
    const std::string log = import.Log().Text();
    size_t images = 0;
    for (size_t at = log.find("\nImage "); at != std::string::npos; at = log.find("\nImage ", at + 1)) ++images;
    EXPECT_EQ(images, 1u) << log;
    EXPECT_NE(log.find("start=49.80392157 end=100"), std::string::npos) << log;
}

class LinkedImageRender : public scene_render::RenderTest {};

TEST_F(LinkedImageRender, AnImageLandsWhereSvgPutsIt) {
    host::StandInHost host{&import_test::NoModule};
    host::import::ImportHost import{host};
    if (!HaveImages(host)) GTEST_SKIP() << "no image services";
    WritePictures(folder_);
    import.SetDocument(folder_ / "drawing.svg");
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        Builder b;
        auto image = b.Image(20, 30, 100, 60, "pic.png");
        canvas.DrawImage(*image);
    });
    import.SetPage(svgf::HostRect{0, kPage, kPage, 0});
    const Fixture scene{
        "image", R"svg(<image x="20" y="30" width="100" height="60" preserveAspectRatio="none" xlink:href="pic.png"/>)svg",
        {}};
    const scene_render::Comparison c = Compare(import, Document(scene));
    ASSERT_GT(c.pixels, 0);
    // The picture's edges may be resampled a little differently.
    EXPECT_LE(c.differing, c.pixels / 50) << c.exported;
    EXPECT_NEAR(c.coveredGot, c.coveredWant, c.coveredWant / 50 + 10);
}

}  // namespace
