// Numbers keep the "C" locale's form whatever locale the process runs in.
#include "c_format.h"
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <gtest/gtest.h>
#include <locale.h>
#include <unistd.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

#include "svg_transform.h"

namespace svgf {
namespace {

// A locale whose decimal point is a comma: an installed German one, or one
// compiled for the test with localedef into a private folder.
class CommaLocale {
  public:
    CommaLocale() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE.ISO-8859-1"}) {
            locale_ = newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
            if (locale_ != nullptr) return;
        }
        char folder[] = "/tmp/svgfilter-localeXXXXXX";
        if (::mkdtemp(folder) == nullptr) return;
        folder_ = folder;
        std::string command = "localedef -i de_DE -f ISO-8859-1 " + folder_ + "/de_DE >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0 && std::system(("test -d " + folder_ + "/de_DE").c_str()) != 0)
            return;
        ::setenv("LOCPATH", folder_.c_str(), 1);
#if defined(__SANITIZE_ADDRESS__)
        // The C library keeps (and never frees) its parse of LOCPATH.
        __lsan_disable();
#endif
        locale_ = newlocale(LC_NUMERIC_MASK, "de_DE", static_cast<locale_t>(nullptr));
#if defined(__SANITIZE_ADDRESS__)
        __lsan_enable();
#endif
        ::unsetenv("LOCPATH");
    }
    ~CommaLocale() {
        if (locale_ != nullptr) freelocale(locale_);
        if (!folder_.empty()) std::system(("rm -rf " + folder_).c_str());
    }
    locale_t Get() const {
        return locale_;
    }

  private:
    locale_t locale_ = nullptr;
    std::string folder_;
};

TEST(CFormat, NumbersIgnoreTheThreadsLocale) {
    CommaLocale comma;
    if (comma.Get() == nullptr) GTEST_SKIP() << "no locale with a comma decimal point";
    locale_t previous = uselocale(comma.Get());
    char probe[32];
    std::snprintf(probe, sizeof probe, "%G", 1.5);
    const std::string local = probe;
    const std::string ours = FormatC("%G %f %d", 1.5, 0.25, -3);
    const std::string transform = TransformAttribute({SVGXformNode::Matrix(1.5, 0, 0, 2.25, 0.5, -0.75)});
    uselocale(previous);
    ASSERT_EQ(local, "1,5") << "the test locale must really use a comma";
    EXPECT_EQ(ours, "1.5 0.250000 -3");
    EXPECT_EQ(transform, "transform=\"matrix(1.5 0 0 2.25 0.5 -0.75)\"");
}

TEST(CFormat, LongTextsAreNotCut) {
    std::string long_text(500, 'x');
    EXPECT_EQ(FormatC("<%s>", long_text.c_str()), "<" + long_text + ">");
    std::string out = "a";
    AppendC(out, "%d%s", 7, long_text.c_str());
    EXPECT_EQ(out, "a7" + long_text);
}

TEST(CFormat, RoundsHalfAwayFromZero) {
    const struct {
        double value;
        int rounded;
    } cases[] = {{2.6, 3},   {-2.6, -3},     {0.0, 0},        {2.5, 3},         {-2.5, -3}, {0.49, 0},
                 {-0.49, 0}, {1000.0, 1000}, {1e12, INT_MAX}, {-1e12, INT_MIN}, {NAN, 0}};
    for (const auto& c : cases) EXPECT_EQ(RoundHalfAway(c.value), c.rounded) << c.value;
}

}  // namespace
}  // namespace svgf
