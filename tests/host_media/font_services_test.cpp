// The font entries as the module reaches them: through a service table,
// with the table's signatures, in the order a text export calls them.
#include "host/media/font_services.h"

#include <gtest/gtest.h>

#include <cstring>

#include "font_reference.h"

namespace host::media {
namespace {

using namespace testing;
namespace svc = svgf::svc;

class FontServicesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(&table, 0, sizeof table);
        RegisterFontServices(*fonts, [this](size_t index, svgf::HostServiceFn fn) {
            ASSERT_LT(index, svgf::kServiceSlots);
            table.slot[index] = fn;
        });
    }
    template <typename Fn>
    Fn Entry(size_t index) {
        Fn fn = svgf::service<Fn>(&table, index);
        EXPECT_NE(fn, nullptr) << "slot 0x" << std::hex << index * 4;
        return fn;
    }

    std::unique_ptr<FontLibrary> fonts = MakeFonts();
    svgf::HostServiceTable table;
};

TEST_F(FontServicesTest, AllFontEntriesAreRegisteredAndNothingElse) {
    size_t filled = 0;
    for (auto slot : table.slot) filled += slot != nullptr;
    EXPECT_EQ(filled, 7u);
    for (size_t index : {svc::kCreateFont, svc::kReleaseFont, svc::kFontFamilyName, svc::kPairAdvance,
                         svc::kGlyphOutline, svc::kGlyphRelease1, svc::kGlyphRelease2})
        EXPECT_NE(table.slot[index], nullptr) << std::hex << index * 4;
}

TEST_F(FontServicesTest, ATextExportsCallsBalance) {
    auto createFont = Entry<svc::CreateFontFn>(svc::kCreateFont);
    auto releaseFont = Entry<svc::ReleaseFontFn>(svc::kReleaseFont);
    auto familyName = Entry<svc::FontFamilyNameFn>(svc::kFontFamilyName);
    auto pairAdvance = Entry<svc::PairAdvanceFn>(svc::kPairAdvance);
    auto glyphOutline = Entry<svc::GlyphOutlineFn>(svc::kGlyphOutline);
    auto release1 = Entry<svc::GlyphReleaseFn>(svc::kGlyphRelease1);
    auto release2 = Entry<svc::GlyphReleaseFn>(svc::kGlyphRelease2);

    // Two font definitions, the first released when the second comes.
    for (int32_t id : {kSans, kSerif}) {
        const svgf::HostHandle font = createFont(0, id, 0x40, 254000, 0, 0, 0);
        ASSERT_NE(font, 0u);
        char name[svc::kFamilyNameBufferSize];
        ASSERT_EQ(familyName(id, name, sizeof name), 1);
        int32_t advance = 0;
        EXPECT_EQ(pairAdvance(font, 'A', 'V', &advance), 1);
        EXPECT_GT(advance, 0);
        for (char ch : {'A', 'V', ' '}) {
            svgf::HostHandle glyph = 0;
            svgf::HostOutline* outline = nullptr;
            ASSERT_EQ(glyphOutline(font, static_cast<uint8_t>(ch), &glyph, &outline), 1);
            // The module marks the first node; the block is its to change.
            if (outline->nodeCount > 0) svgf::OutlineTypes(outline)[0] |= 2;
            EXPECT_EQ(release1(glyph), 1);
            EXPECT_EQ(release2(glyph), 1);
        }
        EXPECT_EQ(releaseFont(font), 1);
    }
    const HandleCounts c = fonts->Counts();
    EXPECT_EQ(c.fontsCreated, 2u);
    EXPECT_EQ(c.glyphsCreated, 6u);
    EXPECT_TRUE(c.Balanced());
}

TEST_F(FontServicesTest, EntriesAnswerFailureForBadCallsAndAfterTheLibraryGoes) {
    auto createFont = Entry<svc::CreateFontFn>(svc::kCreateFont);
    auto familyName = Entry<svc::FontFamilyNameFn>(svc::kFontFamilyName);
    auto pairAdvance = Entry<svc::PairAdvanceFn>(svc::kPairAdvance);
    auto glyphOutline = Entry<svc::GlyphOutlineFn>(svc::kGlyphOutline);
    auto release1 = Entry<svc::GlyphReleaseFn>(svc::kGlyphRelease1);
    auto release2 = Entry<svc::GlyphReleaseFn>(svc::kGlyphRelease2);
    auto releaseFont = Entry<svc::ReleaseFontFn>(svc::kReleaseFont);

    char name[8];
    EXPECT_EQ(createFont(0, kUnknownId, 0, 254000, 0, 0, 0), 0u);
    EXPECT_EQ(familyName(kUnknownId, name, sizeof name), 0);
    EXPECT_EQ(familyName(kSans, name, sizeof name), 0);  // too small for "DejaVu Sans"
    int32_t advance = 0;
    EXPECT_EQ(pairAdvance(999, 'A', 'V', &advance), 0);
    svgf::HostHandle glyph = 0;
    svgf::HostOutline* outline = nullptr;
    EXPECT_EQ(glyphOutline(999, 'A', &glyph, &outline), 0);
    EXPECT_EQ(release1(999), 0);
    EXPECT_EQ(release2(999), 0);
    EXPECT_EQ(releaseFont(999), 0);

    // Once the library is gone the entries stay callable and answer failure.
    fonts.reset();
    EXPECT_EQ(createFont(0, kSans, 0, 254000, 0, 0, 0), 0u);
    EXPECT_EQ(familyName(kSans, name, sizeof name), 0);
}

}  // namespace
}  // namespace host::media
