// Style records over a picture the test writes beside its document: the
// style sheet's relative URLs find it, the cache loads it once, and its use
// count follows the records until the last one lets it go.
#include <png.h>

#include <string>

#include "picture_files.h"
#include "style_image_fixtures.h"
#include "temp_dir.h"

namespace {

using imageload::Image;
using imageload::ImageHandler;
using markup::style::StyleProperties;
using style_test::StyledImageTree;

class PictureStyles : public StyledImageTree {
  protected:
    PictureStyles() {
        picture_ = dir_.Path() + "/dot.png";
        imageload::testing::WritePng(picture_, 6, 20, PNG_COLOR_TYPE_GRAY, 8,
                                     std::vector<std::vector<std::uint8_t>>(20, std::vector<std::uint8_t>(6, 80)));
        PlaceDocument("file://" + dir_.Path() + "/page.htm");
    }
    markup_test::TempDir dir_;
    std::string picture_;
};

TEST_F(PictureStyles, BackgroundAndListImagesShareOneLoadedPicture) {
    Sheet("body { background-image: url(dot.png) } ul { list-style-image: url(dot.png) }");
    StyleAll();
    Image* picture = Style(body_).GetImage(11);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(style_test::Str(picture->source), picture_);
    EXPECT_EQ(picture->loaded, 1);
    EXPECT_EQ(picture->bounds.Width(), 6);
    EXPECT_EQ(picture->bounds.Height(), 20);
    EXPECT_EQ(Style(bulleted_).GetImage(58), picture);
    EXPECT_EQ(Style(Item(bulleted_, 1)).GetImage(58), picture);
    EXPECT_EQ(ImageHandler::Instance().ImageCount(), 1u);
    EXPECT_EQ(picture->useCount, 4u) << "body, list and its two items";

    std::int32_t unit = 0;
    StyleProperties& item = Style(Item(bulleted_, 0));
    EXPECT_EQ(item.GetIntLength(32, unit), 40 + Pixels(6));
    EXPECT_EQ(item.GetIntLength(29, unit), Pixels(20) - 12);

    Mapper().ReleaseStyle(body_);
    EXPECT_EQ(picture->useCount, 3u);
    Mapper().ClearCache(document_);
    EXPECT_EQ(ImageHandler::Instance().ImageCount(), 0u) << "the entry goes with the last record";
}

TEST_F(PictureStyles, AMissingFileBesideTheDocumentLoadsNothing) {
    Sheet("body { background-image: url(gone.png) } ul { list-style-image: url(gone.png) }");
    StyleAll();
    EXPECT_EQ(Style(body_).GetImage(11), nullptr);
    EXPECT_EQ(Style(Item(bulleted_, 0)).GetImage(58), nullptr);
    EXPECT_EQ(ImageHandler::Instance().ImageCount(), 0u);
}

}  // namespace
