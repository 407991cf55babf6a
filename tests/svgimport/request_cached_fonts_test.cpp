// The import's font requests: each distinct one made (or refused) once, kept fonts
// destroyed only when the cache ends, and requests past the bound made and
// destroyed as asked.
#include "request_cached_fonts.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The fixed back end, counting what it makes and destroys.
class CountingFonts : public platform::FixedFontBackend {
  public:
    platform::FontHandle CreateFont(const platform::LogFont& request) override {
        ++asked;
        const platform::FontHandle font = FixedFontBackend::CreateFont(request);
        if (font != 0) {
            live.insert(font);
            ++made;
        }
        return font;
    }
    void DestroyFont(platform::FontHandle font) override {
        live.erase(font);
        FixedFontBackend::DestroyFont(font);
    }
    std::set<platform::FontHandle> live;
    int asked = 0;
    int made = 0;
};

platform::LogFont Request(int32_t height, const char* face = "DejaVu Sans") {
    platform::LogFont request;
    request.height = height;
    request.weight = 400;
    request.SetFaceName(face);
    return request;
}

TEST(RequestCachedFonts, MakesEachRequestOnceAndKeepsItToTheEnd) {
    CountingFonts inner;
    {
        svgf::detail::RequestCachedFonts fonts(inner);
        const platform::FontHandle a = fonts.CreateFont(Request(-20));
        ASSERT_NE(a, 0u);
        fonts.DestroyFont(a);
        EXPECT_EQ(fonts.CreateFont(Request(-20)), a);
        EXPECT_NE(fonts.CreateFont(Request(-21)), a);
        EXPECT_EQ(inner.made, 2);
        // A face the back end cannot make is asked for once.
        EXPECT_EQ(fonts.CreateFont(Request(-20, "No Such Face")), 0u);
        EXPECT_EQ(fonts.CreateFont(Request(-20, "No Such Face")), 0u);
        EXPECT_EQ(inner.asked, 3);
        EXPECT_EQ(inner.live.size(), 2u);
    }
    EXPECT_TRUE(inner.live.empty());
}

TEST(RequestCachedFonts, RequestsPastTheBoundAreMadeAndDestroyedAsAsked) {
    CountingFonts inner;
    svgf::detail::RequestCachedFonts fonts(inner);
    for (size_t i = 0; i < svgf::detail::RequestCachedFonts::kMaxKept; ++i) {
        fonts.CreateFont(Request(-static_cast<int32_t>(i + 1)));
    }
    const platform::FontHandle extra = fonts.CreateFont(Request(-5000));
    ASSERT_NE(extra, 0u);
    fonts.DestroyFont(extra);
    EXPECT_EQ(inner.live.count(extra), 0u);
    EXPECT_EQ(inner.live.size(), svgf::detail::RequestCachedFonts::kMaxKept);
}

}  // namespace
