// A font table of DejaVu fonts for the host font tests, and the same font
// files opened directly with FreeType to check the host's answers against.
#ifndef TESTS_HOST_MEDIA_FONT_REFERENCE_H
#define TESTS_HOST_MEDIA_FONT_REFERENCE_H

#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/media/font_library.h"

namespace host::media::testing {

enum FontId : int32_t { kSans = 1, kSerif = 2, kSansBold = 3, kMissingFamily = 4, kCourier = 5, kTimes = 6 };
inline constexpr int32_t kUnknownId = 99;

// 100 host units per DejaVu font unit (2048 units per em), so unscaled
// values compare exactly.
inline constexpr int32_t kExactSize = 2048 * 100;

inline std::unique_ptr<FontLibrary> MakeFonts() {
    auto fonts = std::make_unique<FontLibrary>();
    fonts->AddFont(kSans, "DejaVu Sans");
    fonts->AddFont(kSerif, "DejaVu Serif");
    fonts->AddFont(kSansBold, "DejaVu Sans", {700, false});
    fonts->AddFont(kMissingFamily, "No Such Family Anywhere");
    fonts->AddFont(kCourier, "Courier New");
    fonts->AddFont(kTimes, "Times New Roman");
    return fonts;
}

// A face opened straight from the file the library resolved to.
class ReferenceFace {
  public:
    explicit ReferenceFace(const ResolvedFont& font) {
        EXPECT_EQ(FT_Init_FreeType(&library_), 0);
        EXPECT_EQ(FT_New_Face(library_, font.file.c_str(), font.faceIndex, &face_), 0) << font.file;
    }
    ~ReferenceFace() {
        if (face_) FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    FT_Face operator->() const { return face_; }
    FT_Face get() const { return face_; }

    // Loads the glyph of a character unscaled; its outline is in face->glyph.
    FT_UInt Load(FT_ULong character) const {
        const FT_UInt index = FT_Get_Char_Index(face_, character);
        EXPECT_EQ(FT_Load_Glyph(face_, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING), 0);
        return index;
    }

  private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

}  // namespace host::media::testing

#endif  // TESTS_HOST_MEDIA_FONT_REFERENCE_H
