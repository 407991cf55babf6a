// Pictures of the image cache in style records, without decoder modules:
// non-picture sources answer placeholders, which are counted like pictures,
// and sources that do not load leave nothing held.
#include <gtest/gtest.h>

#include <string>

#include "style_image_fixtures.h"

namespace {

using imageload::Image;
using imageload::ImageHandler;
using markup::style::StyleProperties;
using style_test::StyledImageTree;

Image* OwnPlaceholder(std::int32_t code) {
    platform::Rect rect{};
    return ImageHandler::Instance().GetPlaceholder(code, nullptr, rect);
}

class StyleImages : public StyledImageTree {};

TEST_F(StyleImages, EachRecordHoldsOneUseOfItsPicture) {
    // Our own use keeps the placeholder cached, so that its count can be
    // read after the records are gone.
    Image* sound = OwnPlaceholder(imageload::kMediaSound);
    Sheet("ul { list-style-image: url(tune.mid) } body { background-image: url(tune.mid) }");
    StyleAll();
    EXPECT_EQ(Style(body_).GetImage(11), sound);
    EXPECT_EQ(Style(body_).GetImage(58), nullptr);
    EXPECT_EQ(Style(bulleted_).GetImage(58), sound);
    EXPECT_EQ(Style(bulleted_).GetImage(11), nullptr) << "a background is not inherited";
    EXPECT_EQ(Style(Item(bulleted_, 0)).GetImage(58), sound) << "the item's copy of its list's image";
    EXPECT_EQ(Style(Item(bulleted_, 1)).GetImage(58), sound);
    EXPECT_EQ(Style(Item(numbered_, 0)).GetImage(58), nullptr);
    EXPECT_EQ(sound->useCount, 5u);

    // The bulleted list's kind travels to its items' records; it does not
    // keep them from giving their pictures back.
    EXPECT_EQ(Style(Item(bulleted_, 0)).GetImageKind(), style_test::kBulleted);
    Mapper().ReleaseStyle(Item(bulleted_, 0));
    EXPECT_EQ(sound->useCount, 4u);
    Mapper().ClearCache(document_);
    EXPECT_EQ(sound->useCount, 1u);
    EXPECT_EQ(ImageHandler::Instance().ReleaseImage(sound), 0u);
}

TEST_F(StyleImages, InheritanceCopiesTakeTheirOwnUse) {
    Image* sound = OwnPlaceholder(imageload::kMediaSound);
    const markup::String tune("tune.mid");
    {
        StyleProperties parent;
        parent.SetImage(58, &tune);
        parent.SetImage(11, &tune);
        parent.SetImage(58, &tune);  // set again: still one use
        EXPECT_EQ(sound->useCount, 3u);
        StyleProperties child;
        child.InheritFrom(parent);
        child.InheritFrom(parent);  // the second copy replaces the first
        EXPECT_EQ(child.GetImage(58), sound);
        EXPECT_EQ(child.GetImage(11), nullptr);
        EXPECT_EQ(sound->useCount, 4u);
        child.SetImage(58, nullptr);
        EXPECT_EQ(sound->useCount, 3u);
        child.InheritFrom(parent);
    }
    EXPECT_EQ(sound->useCount, 1u);
    EXPECT_EQ(ImageHandler::Instance().ReleaseImage(sound), 0u);
}

TEST_F(StyleImages, APictureThatDoesNotLoadLeavesNothingHeld) {
    Sheet("body { background-image: url(missing.png) } ul { list-style-image: url(missing.png) }");
    StyleAll();
    EXPECT_EQ(Style(body_).GetImage(11), nullptr);
    EXPECT_EQ(Style(bulleted_).GetImage(58), nullptr);
    markup::style::StyleProperties& item = Style(Item(bulleted_, 0));
    EXPECT_EQ(item.GetImage(58), nullptr);
    EXPECT_NE(item.GetControlKind(), 9u) << "an item without its picture shows a marker";
    EXPECT_EQ(ImageHandler::Instance().ImageCount(), 0u);
}

TEST_F(StyleImages, AListImageWidensItsItemsIndent) {
    Sheet("ul { list-style-image: url(tune.mid) }");
    platform::Rect bounds{};
    Image* sound = OwnPlaceholder(imageload::kMediaSound);
    bounds = sound->bounds;
    ASSERT_GT(bounds.Height(), 0);
    std::int32_t unit = 0;
    StyleProperties& pictured = Style(Item(bulleted_, 0));
    EXPECT_EQ(pictured.GetControlKind(), 9u);
    EXPECT_EQ(pictured.GetIntLength(32, unit), 40 + Pixels(bounds.Width()));
    EXPECT_EQ(pictured.GetIntLength(29, unit), Pixels(bounds.Height()) - 12);
    StyleProperties& plain = Style(Item(numbered_, 0));
    EXPECT_EQ(plain.GetIntLength(32, unit), 40);
    EXPECT_EQ(plain.GetIntLength(29, unit), 0);
    ImageHandler::Instance().ReleaseImage(sound);
}

// Sources of embedded objects and images: the placeholder of the media
// code each source answers, or none.
struct ObjectCase {
    std::uint32_t kind;
    std::uint32_t attribute;  // 0: none
    const char* value;
    bool placeholders;
    std::int32_t code;  // -1: no image
};

class ObjectSources : public StyledImageTree, public ::testing::WithParamInterface<ObjectCase> {};

TEST_P(ObjectSources, HoldTheirPlaceholders) {
    const ObjectCase& c = GetParam();
    settings_.placeholders = c.placeholders;
    markup::AttrElement* object = markup_test::E(c.kind);
    if (c.attribute != 0) markup_test::WithAttribute(object, c.attribute, c.value);
    body_->AppendChild(object);
    Image* image = Style(object).GetImage(58);
    if (c.code < 0) {
        EXPECT_EQ(image, nullptr);
        return;
    }
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->source.IsEmpty()) << "a placeholder, not a picture";
    EXPECT_EQ(image->stamp, c.code);
    EXPECT_EQ(image->useCount, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ObjectSources,
    ::testing::Values(ObjectCase{121, 0, "", true, imageload::kMediaScript},
                      ObjectCase{121, 0, "", false, -1},
                      ObjectCase{168, 0, "", true, imageload::kMediaServerPage},
                      ObjectCase{181, 0, "", false, imageload::kMediaPicture},  // an empty source
                      ObjectCase{72, 64, "tune.mid", false, imageload::kMediaSound},
                      ObjectCase{6, 34, "clip.mov", false, imageload::kMediaMovie},
                      ObjectCase{50, 157, "Applet.class", false, imageload::kMediaApplet}));

}  // namespace
