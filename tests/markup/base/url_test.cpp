// URLSpec: parsing into parts, composing back, escapes, and the resolution
// of relative URLs and paths.
#include "markup/url.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

#include "markup/decimal.h"

namespace markup {
namespace {

std::string Str(const String& s) {
    return std::string(s.Text(), s.Length());
}

// Test names show only the letters and digits of a row's text.
std::string Label(const char* text) {
    std::string label;
    for (const char* p = text; *p; ++p) {
        if (std::isalnum(static_cast<unsigned char>(*p))) label += *p;
    }
    return label.empty() ? "empty" : label;
}

struct ParseRow {
    const char* text;
    std::int32_t kind;
    const char* scheme;
    const char* user;
    const char* password;
    const char* host;
    std::int32_t port;
    const char* path;
    const char* parameters;
    const char* query;
    const char* fragment;
    bool valid;
    const char* composed;  // null: composes back to the text itself
};

const ParseRow kParseRows[] = {
    {"http://user:pw@www.example.com:8080/dir/page.htm;type=a?x=1&y=2#top", kSchemeHttp, "http:", "user",
     "pw", "www.example.com", 8080, "/dir/page.htm", "type=a", "x=1&y=2", "top", true, nullptr},
    {"C:\\dir\\sub\\file.htm", kSchemeNone, "", "", "", "", -1, "/C:/dir/sub/file.htm", "", "", "", true,
     "/C:/dir/sub/file.htm"},
    {"file:///C:/dir/file.htm", kSchemeFile, "file:", "", "", "", -1, "/C:/dir/file.htm", "", "", "", true,
     nullptr},
    {"file://D:/site/a.htm", kSchemeFile, "file:", "", "", "", -1, "/D:/site/a.htm", "", "", "", true,
     "file:///D:/site/a.htm"},
    {"news:comp.lang <x>#y", kSchemeOther, "news:", "", "", "", -1, "comp.lang%20<x>#y", "", "", "", true,
     "news:comp.lang%20<x>#y"},
    {"http://host/a<b", kSchemeHttp, "http:", "", "", "host", -1, "/a<b", "", "", "", false, nullptr},
    {"/home/user/My Docs/a.svg", kSchemeNone, "", "", "", "", -1, "/home/user/My%20Docs/a.svg", "", "", "",
     true, "/home/user/My%20Docs/a.svg"},
    {"../images/x.png?v=2", kSchemeNone, "", "", "", "", -1, "../images/x.png", "", "v=2", "", true, nullptr},
    {"images/x.png", kSchemeNone, "", "", "", "", -1, "images/x.png", "", "", "", true, nullptr},
    {"mailto:someone@example.com", kSchemeMailto, "mailto:", "", "", "", -1, "someone@example.com", "", "",
     "", true, nullptr},
    {"HTTP://Example.COM", kSchemeHttp, "HTTP:", "", "", "Example.COM", -1, "", "", "", "", true,
     "http://Example.COM"},
    {"ftp://anon@ftp.example.org/pub/", kSchemeFtp, "ftp:", "anon", "", "ftp.example.org", -1, "/pub/", "",
     "", "", true, nullptr},
    {"\\\\server\\share\\f.htm", kSchemeNone, "", "", "", "server", -1, "/share/f.htm", "", "", "", true,
     "//server/share/f.htm"},
    {"http://h:99999999999/", kSchemeHttp, "http:", "", "", "h", 2147483647, "/", "", "", "", true,
     "http://h:2147483647/"},
    {"http://:81/x", kSchemeHttp, "http:", "", "", "", 81, "/x", "", "", "", true, "http://localhost:81/x"},
    {"http://h/%4G", kSchemeHttp, "http:", "", "", "h", -1, "/%4G", "", "", "", false, nullptr},
    {"", kSchemeNone, "", "", "", "", -1, "", "", "", "", true, nullptr},
};

void PrintTo(const ParseRow& row, std::ostream* os) {
    *os << Label(row.text);
}

class URLParseTest : public testing::TestWithParam<ParseRow> {};

TEST_P(URLParseTest, SplitsIntoPartsAndComposesBack) {
    const ParseRow& row = GetParam();
    URLSpec url;
    EXPECT_EQ(url.Parse(row.text), row.valid);
    EXPECT_EQ(url.Kind(), row.kind);
    EXPECT_EQ(Str(url.SchemeTextRef()), row.scheme);
    EXPECT_EQ(Str(url.UserRef()), row.user);
    EXPECT_EQ(Str(url.PasswordRef()), row.password);
    EXPECT_EQ(Str(url.HostRef()), row.host);
    EXPECT_EQ(url.Port(), row.port);
    EXPECT_EQ(Str(url.PathRef()), row.path);
    EXPECT_EQ(Str(url.ParametersRef()), row.parameters);
    EXPECT_EQ(Str(url.QueryRef()), row.query);
    EXPECT_EQ(Str(url.FragmentRef()), row.fragment);
    EXPECT_EQ(Str(url.FullText()), row.composed ? row.composed : row.text);

    URLSpec again;
    again.Parse(url.FullText());
    EXPECT_EQ(Str(again.FullText()), Str(url.FullText()));
    URLSpec copy(url);
    EXPECT_EQ(Str(copy.FullText()), Str(url.FullText()));
    EXPECT_EQ(copy.IsValid(), url.IsValid());
}

INSTANTIATE_TEST_SUITE_P(Table, URLParseTest, testing::ValuesIn(kParseRows));

TEST(URLSpecTest, QuestionsAskedOfAURL) {
    URLSpec url;
    url.Parse("http://LocalHost/dir/file.htm");
    EXPECT_TRUE(url.HasScheme());
    EXPECT_TRUE(url.IsLocal());
    EXPECT_FALSE(url.IsRootRelative());
    EXPECT_EQ(Str(url.FileName()), "file.htm");
    EXPECT_EQ(Str(url.PathCopy()), "/dir/file.htm");

    url.Parse("http://www.example.com/dir/");
    EXPECT_TRUE(url.IsRemote());
    EXPECT_EQ(Str(url.FileName()), "");

    url.Parse("/root/relative.css");
    EXPECT_TRUE(url.IsRelative());
    EXPECT_TRUE(url.IsRootRelative());
    EXPECT_TRUE(url.IsLocal());

    url.Parse("noslash");
    EXPECT_EQ(Str(url.FileName()), "noslash");
    EXPECT_FALSE(url.IsRootRelative());

    url.Reset();
    EXPECT_EQ(url.Port(), -1);
    EXPECT_FALSE(url.IsValid());
    EXPECT_EQ(Str(url.PathRef()), "");
}

TEST(URLSpecTest, SchemeTextsAndKinds) {
    EXPECT_EQ(Str(URLSpec::SchemeText(kSchemeMailto, "")), "mailto:");
    EXPECT_EQ(Str(URLSpec::SchemeText(kSchemeFtp, "")), "ftp:");
    EXPECT_EQ(Str(URLSpec::SchemeText(kSchemeNone, "x:")), "");
    EXPECT_EQ(Str(URLSpec::SchemeText(kSchemeOther, "gopher:")), "gopher:");
    EXPECT_EQ(URLSpec::SchemeKind("FILE:"), kSchemeFile);
    EXPECT_EQ(URLSpec::SchemeKind("Http:"), kSchemeHttp);
    EXPECT_EQ(URLSpec::SchemeKind(""), kSchemeNone);
    EXPECT_EQ(URLSpec::SchemeKind("https:"), kSchemeOther);
}

TEST(URLEscapeTest, CharacterClasses) {
    for (unsigned c = 0; c < 256; ++c) {
        const bool unsafe = c < 32 || c >= 128 ||
                            std::string("\"#%<>[]\\^`{}").find(static_cast<char>(c)) != std::string::npos;
        EXPECT_EQ(IsURLChar(static_cast<unsigned char>(c)), !unsafe) << c;
    }
    EXPECT_TRUE(IsURLChar(' '));
    EXPECT_TRUE(IsURLChar('|'));
    EXPECT_TRUE(IsValidURLText(""));
    EXPECT_TRUE(IsValidURLText("a%41b"));
    EXPECT_FALSE(IsValidURLText("a%4"));
    EXPECT_FALSE(IsValidURLText("%G1"));
    EXPECT_FALSE(IsValidURLText("a\\b"));
}

TEST(URLEscapeTest, EscapeRewritesUnsafeBytes) {
    String s;
    s.Append("\xE9 \"#%&;<=>?@[]^`{|}~\\a\x01\x7F", 24);
    URLSpec::Escape(s);
    EXPECT_EQ(Str(s), "%E9%20%22%23%25%26%3B%3C%3D%3E%3F%40%5B%5D%5E%60%7B%7C}~/a%01\x7F");
}

TEST(URLEscapeTest, UnescapeDecodesOnlyCompleteEscapes) {
    struct Row {
        const char* in;
        const char* out;
    };
    const Row rows[] = {
        {"%41%2f%7e", "A/~"}, {"100%", "100%"}, {"%4", "%4"}, {"x%zzy", "x%zzy"}, {"%%41", "%A"}, {"", ""},
    };
    for (const Row& row : rows) {
        String s(row.in);
        URLSpec::Unescape(s);
        EXPECT_EQ(Str(s), row.out) << row.in;
    }
    String text("a b\\c");
    URLSpec::PrepareText(text);
    EXPECT_EQ(Str(text), "a%20b/c");
}

TEST(URLEscapeTest, HexHelpers) {
    EXPECT_EQ(Str(HexText(255, 4)), "00FF");
    EXPECT_EQ(Str(HexText(0, 0)), "0");
    EXPECT_EQ(Str(HexText(0xDEADBEEF, 2)), "DEADBEEF");
    EXPECT_EQ(URLSpec::HexValue("1aZ"), 0x1A0u);
    EXPECT_EQ(URLSpec::HexDigit('f'), 15u);
    EXPECT_EQ(URLSpec::HexDigit('g'), 0u);
    EXPECT_EQ(HexDigitChar(11), 'B');
    EXPECT_EQ(HexDigitChar(16), 0);
    EXPECT_EQ(DecodeEscape("%e9"), 0xE9);
    String out("x");
    EncodeEscape(0x0A, out);
    EXPECT_EQ(Str(out), "x%0A");
    EXPECT_TRUE(IsHexDigit('a'));
    EXPECT_FALSE(IsHexDigit('G'));
}

TEST(URLResolveTest, SplitSegmentsKeepsSeparators) {
    Vector<String> segments;
    SplitSegments("http://host/a/..", '/', segments);
    ASSERT_EQ(segments.Count(), 5u);
    EXPECT_EQ(Str(*segments.At(0)), "http:/");
    EXPECT_EQ(Str(*segments.At(1)), "/");
    EXPECT_EQ(Str(*segments.At(2)), "host/");
    EXPECT_EQ(Str(*segments.At(3)), "a/");
    EXPECT_EQ(Str(*segments.At(4)), "../");
}

TEST(URLResolveTest, JoinPathTable) {
    struct Row {
        const char* relative;
        const char* base;
        char separator;
        bool ok;
        const char* result;
    };
    const Row rows[] = {
        {"./a/./b", "/r/", '/', true, "/r/a/b"},
        {"..", "/r/s/", '/', true, "/r/"},
        {"a//b", "/r/", '/', true, "/r/a/b"},
        {"a\\..\\b.htm", "C:\\x\\", '\\', true, "C:\\x\\b.htm"},
        {"../..", "x/", '/', false, ""},
        {"", "/r/", '/', true, "/r/"},
        {"../f", "", '/', false, ""},
    };
    for (const Row& row : rows) {
        String base(row.base);
        EXPECT_EQ(JoinPath(row.relative, base, row.separator), row.ok) << row.relative;
        EXPECT_EQ(Str(base), row.result) << row.relative;
    }
}

TEST(URLResolveTest, ResolveRelativeKeepsTheTailAndFailsPastTheBase) {
    String base("http://host/a/b/");
    EXPECT_TRUE(ResolveRelative("../other/file.htm#frag", base));
    EXPECT_EQ(Str(base), "http://host/a/other/file.htm#frag");

    String query("http://host/a/");
    EXPECT_TRUE(ResolveRelative("q.cgi?x=../y;z", query));
    EXPECT_EQ(Str(query), "http://host/a/q.cgi?x=../y;z");

    String shallow("http://host/");
    EXPECT_FALSE(ResolveRelative("../../../../x.htm", shallow));
    EXPECT_EQ(Str(shallow), "");
}

TEST(URLResolveTest, MakeAbsoluteAgainstABase) {
    URLSpec base;
    base.Parse("http://www.example.com/docs/guide/");
    struct Row {
        const char* url;
        bool ok;
        const char* result;
    };
    const Row rows[] = {
        {"ftp://other/x", true, "ftp://other/x"},
        {"/style/main.css", true, "http://www.example.com/style/main.css"},
        {"../img/a.png#top", true, "http://www.example.com/docs/img/a.png#top"},
        {"page.htm", true, "http://www.example.com/docs/guide/page.htm"},
        {"../../../../../../x", false, ""},
        {"bad<url", false, "bad<url"},
    };
    for (const Row& row : rows) {
        String url(row.url);
        EXPECT_EQ(MakeAbsolute(url, base), row.ok) << row.url;
        EXPECT_EQ(Str(url), row.result) << row.url;
    }

    URLSpec local;
    local.Parse("/home/user/docs/");
    String css("../style/a.css");
    EXPECT_TRUE(MakeAbsolute(css, local));
    EXPECT_EQ(Str(css), "/home/user/style/a.css");
    String root("/etc/x.css");
    EXPECT_TRUE(MakeAbsolute(root, local));
    EXPECT_EQ(Str(root), "file:///etc/x.css");

    URLSpec other;
    other.Parse("svn://repo/trunk/");
    String rooted("/tags/x");
    EXPECT_TRUE(MakeAbsolute(rooted, other));
    EXPECT_EQ(Str(rooted), "svn:///tags/x");
}

TEST(DecimalTest, HeldToThe32BitRange) {
    EXPECT_EQ(ParseDecimal32("8080"), 8080);
    EXPECT_EQ(ParseDecimal32("  -42xyz"), -42);
    EXPECT_EQ(ParseDecimal32("+7"), 7);
    EXPECT_EQ(ParseDecimal32("2147483647"), 2147483647);
    EXPECT_EQ(ParseDecimal32("2147483648"), 2147483647);
    EXPECT_EQ(ParseDecimal32("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseDecimal32("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(ParseDecimal32("4294967296"), 2147483647);
    EXPECT_EQ(ParseDecimal32(""), 0);
    EXPECT_EQ(ParseDecimal32("x1"), 0);
    EXPECT_EQ(ParseDecimal32(nullptr), 0);
}

}  // namespace
}  // namespace markup
