// URLMapper: host entries and their folders, URL to local file, local file
// to URL, resolution, the new-entry dialog and the path helpers.
#include "markup/url_mapper.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "markup/faults.h"
#include "platform/mapping_dialogs.h"
#include "temp_dir.h"

namespace markup {
namespace {

using platform::ServerDialogAction;

std::string Str(const String& s) {
    return std::string(s.Text(), s.Length());
}

class URLMapperTest : public testing::Test {
  protected:
    URLMapperTest() : mapper_(URLMapper::Instance()) {
        mapper_.RemoveAllServers();
        root_ = dir_.Path() + "/cache/";
        mapper_.SetRootFolder(root_.c_str());
        mapper_.SetDefaultDocument("");
        platform::SetMappingDialogs(&dialogs_);
    }
    ~URLMapperTest() override {
        platform::SetMappingDialogs(nullptr);
        mapper_.RemoveAllServers();
    }
    std::string Map(const char* text, bool addIndex = true) {
        URLSpec url;
        url.Parse(text);
        String out;
        mapper_.URLToLocalPath(url, out, addIndex);
        return Str(out);
    }

    markup_test::TempDir dir_;
    std::string root_;
    platform::ScriptedMappingDialogs dialogs_;
    URLMapper& mapper_;
};

TEST_F(URLMapperTest, OnlyTheAccessorBuildsTheMapper) {
    EXPECT_THROW(URLMapper(), IllegalUsageFault);
    EXPECT_EQ(&URLMapper::Instance(), &mapper_);
}

TEST(URLMapperRootTest, RootFolderDefaultsToTheUserCache) {
    Singleton<URLMapper>::Release();
    const char* saved = std::getenv("XDG_CACHE_HOME");
    const std::string keep = saved ? saved : "";
    ::setenv("XDG_CACHE_HOME", "/var/cache/someone", 1);
    EXPECT_EQ(Str(URLMapper::Instance().RootFolder()), "/var/cache/someone/svgfilter/");
    Singleton<URLMapper>::Release();
    ::unsetenv("XDG_CACHE_HOME");
    if (const char* home = std::getenv("HOME")) {
        EXPECT_EQ(Str(URLMapper::Instance().RootFolder()), std::string(home) + "/.cache/svgfilter/");
    }
    if (saved) ::setenv("XDG_CACHE_HOME", keep.c_str(), 1);
    Singleton<URLMapper>::Release();
}

TEST_F(URLMapperTest, RemoteURLsMapUnderTheirHostFolder) {
    struct Row {
        const char* url;
        const char* local;  // below the root folder
    };
    const Row rows[] = {
        {"http://WWW.Example.COM/docs/a.htm", "wwwexamplecom/docs/a.htm"},
        {"http://www.example.com/dir/", "wwwexamplecom/dir/index.htm"},
        {"http://www.example.com", "wwwexamplecom/index.htm"},
        {"http://h.org/a%20b.htm", "horg/a b.htm"},
        {"http://h.org/../../etc/passwd", "horg/etc/passwd"},
        {"http://h.org/x/%2e%2e/%2E%2E/y.css", "horg/y.css"},
        {"http://h.org/x/..%2f..%2f..%2fz", "horg/z"},
        {"http://h.org:8080/./p/q.svg#frag", "horg/p/q.svg"},
    };
    for (const Row& row : rows) EXPECT_EQ(Map(row.url), root_ + row.local) << row.url;
    EXPECT_TRUE(std::filesystem::is_directory(root_ + "wwwexamplecom"));
    EXPECT_EQ(Map("http://www.example.com/dir/", false), root_ + "wwwexamplecom/dir/");

    mapper_.SetDefaultDocument("default.html");
    EXPECT_EQ(Map("http://www.example.com/dir/"), root_ + "wwwexamplecom/dir/default.html");
}

TEST_F(URLMapperTest, QueryURLsTakeTheFirstFreeQueryName) {
    const std::string first = Map("http://h.org/search.cgi?q=svg");
    EXPECT_EQ(first, root_ + "horg/Query1.htm");
    EXPECT_EQ(Str(mapper_.QueryFileName()), "Query1.htm");
    std::ofstream(first) << "answer";
    EXPECT_EQ(Map("http://h.org/other/search.cgi?q=css"), root_ + "horg/Query2.htm");
}

TEST_F(URLMapperTest, FileURLsMapToLocalPathsInBothForms) {
    EXPECT_EQ(Map("file:///d|/dir/sub/f.htm"), "d:\\dir\\sub\\f.htm");
    EXPECT_EQ(Map("file:///C:/a%20b/f.htm"), "C:\\a b\\f.htm");
    EXPECT_EQ(Map("file:///home/user/My%20Docs/f.svg"), "/home/user/My Docs/f.svg");
    EXPECT_EQ(mapper_.Count(), 0u);  // no entry made for them
}

TEST_F(URLMapperTest, EntriesAreTrimmedLowerCasedAndSorted) {
    UMServer* a = mapper_.AddServer("  Zeta.COM ", "  D:\\Web\\Site ");
    EXPECT_EQ(Str(a->name), "zeta.com");
    EXPECT_EQ(Str(a->folder), "d:\\web\\site\\");
    UMServer* b = mapper_.AddServer("alpha", "/Srv/Mixed Case");
    EXPECT_EQ(Str(b->folder), "/Srv/Mixed Case/");  // POSIX folders keep their case
    mapper_.AddServer("Mid", "e:\\m\\");
    EXPECT_EQ(mapper_.AddServer("ZETA.com", "x:\\other\\"), a);  // the existing entry wins
    ASSERT_EQ(mapper_.Count(), 3u);
    EXPECT_EQ(Str(mapper_.At(0)->name), "alpha");
    EXPECT_EQ(Str(mapper_.At(1)->name), "mid");
    EXPECT_EQ(Str(mapper_.At(2)->name), "zeta.com");
    EXPECT_EQ(mapper_.FindServerByName("mid"), mapper_.At(1));
    EXPECT_EQ(mapper_.FindServerByName("Mid"), nullptr);  // look-ups take the stored form
}

TEST_F(URLMapperTest, LocalFoldersGetEntriesNamedAfterDriveShareAndFolder) {
    UMServer* site = mapper_.ServerForLocalPath("D:\\Docs\\Site\\page.htm", true, true);
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(Str(site->name), "local.d.site");
    EXPECT_EQ(Str(site->folder), "d:\\docs\\site\\");
    EXPECT_EQ(mapper_.ServerForLocalPath("d:\\DOCS\\site\\deeper\\x.htm", false, true), site);

    UMServer* share = mapper_.ServerForLocalPath("\\\\srv\\share\\my dir\\f.htm", true, true);
    ASSERT_NE(share, nullptr);
    EXPECT_EQ(Str(share->name), "local.srv.share.my_dir");
    EXPECT_EQ(mapper_.ServerForLocalPath("\\\\srv\\\\f.htm", true, true), nullptr);  // no share
    EXPECT_EQ(mapper_.ServerForLocalPath("plain.htm", true, true), nullptr);
    EXPECT_EQ(mapper_.ServerForLocalPath("e:\\nothing\\x.htm", false, true), nullptr);

    UMServer* posix = mapper_.ServerForLocalPath("/srv/one/Site/a.svg", true, true);
    ASSERT_NE(posix, nullptr);
    EXPECT_EQ(Str(posix->name), "local.site");
    EXPECT_EQ(Str(posix->folder), "/srv/one/Site/");
    UMServer* twin = mapper_.ServerForLocalPath("/srv/two/site/b.svg", true, true);
    ASSERT_NE(twin, nullptr);
    EXPECT_NE(twin, posix);  // same last folder, different folder: a name of its own
    EXPECT_EQ(Str(twin->folder), "/srv/two/site/");
    EXPECT_EQ(mapper_.ServerForLocalPath("/srv/one/site/a.svg", false, true), nullptr);  // case counts
}

TEST_F(URLMapperTest, NewEntryDialogRefusesAFolderThatMissesThePath) {
    dialogs_.actions = {
        {ServerDialogAction::kSetFolder, "/elsewhere/"},
        {ServerDialogAction::kOk, {}},
        {ServerDialogAction::kSetName, "  my site  "},
        {ServerDialogAction::kSetFolder, " /data/web/ "},
        {ServerDialogAction::kOk, {}},
    };
    UMServer* server = mapper_.ServerForLocalPath("/data/web/pages/a.svg", true, false);
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(Str(server->name), "my_site");
    EXPECT_EQ(Str(server->folder), "/data/web/");
    ASSERT_EQ(dialogs_.prompts.size(), 1u);
    EXPECT_NE(dialogs_.prompts[0].find("/data/web/pages/a.svg"), std::string::npos);
    ASSERT_EQ(dialogs_.messages.size(), 1u);  // the refused OK
    EXPECT_EQ(dialogs_.focusCount, 1);
    EXPECT_EQ(dialogs_.closeCount, 1);
}

TEST_F(URLMapperTest, NewEntryDialogCancelledOrBrowsed) {
    dialogs_.actions = {{ServerDialogAction::kCancel, {}}};
    EXPECT_EQ(mapper_.ServerForLocalPath("/data/web/a.svg", true, false), nullptr);
    EXPECT_EQ(mapper_.Count(), 0u);

    dialogs_.actions = {
        {ServerDialogAction::kBrowse, {}}, {ServerDialogAction::kBrowse, {}}, {ServerDialogAction::kOk, {}}};
    dialogs_.browserAnswers = {"/data/A"};  // the second browse is cancelled
    UMServer* server = mapper_.ServerForLocalPath("/data/web/a.svg", true, false);
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(Str(server->folder), "/data/");
    ASSERT_EQ(dialogs_.browsedFrom.size(), 2u);
    EXPECT_EQ(dialogs_.browsedFrom[0], "/data/web/");
    EXPECT_EQ(dialogs_.browsedFrom[1], "/data/");
}

TEST_F(URLMapperTest, HeadlessDialogAcceptsTheProposal) {
    platform::SetMappingDialogs(nullptr);
    UMServer* server = mapper_.ServerForLocalPath("/data/web/a.svg", true, false);
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(Str(server->name), "local.web");
}

TEST_F(URLMapperTest, AnEntryOverANarrowerOneIsReported) {
    mapper_.AddServer("inner", "/data/web/inner/");
    UMServer* outer = mapper_.ServerForLocalPath("/data/web/page.svg", true, true);
    ASSERT_NE(outer, nullptr);
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messageStyles[0], platform::kMessageIconExclamation);
    EXPECT_NE(dialogs_.messages[0].find("Local.web"), std::string::npos);
    EXPECT_NE(dialogs_.messages[0].find("/data/web/inner/"), std::string::npos);
}

TEST_F(URLMapperTest, ResolveTable) {
    struct Row {
        const char* text;
        const char* host;
        const char* base;
        bool ok;
        std::string local;
    };
    const Row rows[] = {
        {"", "", "", true, ""},
        {"D:\\site\\a b.htm", "", "", true, "D:\\site\\a b.htm"},
        {"/home/u/a.svg", "", "", true, "/home/u/a.svg"},
        {"a<b.htm", "", "/srv/", false, ""},
        {"news:comp.text", "", "", false, ""},
        {"http://h.org/a.htm", "", "", true, root_ + "horg/a.htm"},
        {"/img/x.png", "h.org", "", true, root_ + "horg/img/x.png"},
        {"/../../../etc/x", "h.org", "", true, root_ + "horg/etc/x"},
        {"../img/x%20y.png", "", "D:\\site\\docs\\", true, "D:\\site\\img\\x y.png"},
        {"../img/x.png", "", "/srv/site/docs/", true, "/srv/site/img/x.png"},
        {"../../../../x", "", "/a/", false, ""},
    };
    for (const Row& row : rows) {
        String out("stale");
        EXPECT_EQ(mapper_.Resolve(row.text, row.host, row.base, out, true), row.ok) << row.text;
        EXPECT_EQ(Str(out), row.local) << row.text;
    }
}

// A NUL in a host would cut the folder the system makes short of the one the
// entry names; the search for a free query name then never ended.
TEST_F(URLMapperTest, HostWithANulIsRefused) {
    String host;
    host.Append("a\0b", 3);
    for (const char* tail : {"/?q", "/page.htm"}) {
        String text("http://");
        text += host;
        text += tail;
        URLSpec url;
        url.Parse(text);
        String out("stale");
        EXPECT_EQ(mapper_.URLToLocalPath(url, out, true), nullptr) << tail;
        EXPECT_TRUE(out.IsEmpty()) << tail;
    }
    String out;
    EXPECT_FALSE(mapper_.Resolve("/x.htm", host, "", out, true));
    EXPECT_EQ(mapper_.ServerForHost(host), nullptr);
    EXPECT_EQ(mapper_.Count(), 0u);
    EXPECT_FALSE(std::filesystem::exists(root_ + "a"));
}

// A document fetched into the cache came from a host: its links climb no
// higher than the host's folder, and local paths in it name nothing.
TEST_F(URLMapperTest, LinksOfACachedDocumentStayInItsHostFolder) {
    ASSERT_EQ(Map("http://h.org/docs/a.htm"), root_ + "horg/docs/a.htm");
    const std::string base = root_ + "horg/docs/";
    struct Row {
        const char* text;
        const char* host;
        bool ok;
        std::string local;
    };
    const Row rows[] = {
        {"../../../../../etc/passwd", "h.org", true, root_ + "horg/etc/passwd"},
        {"../style/x.css", "h.org", true, root_ + "horg/style/x.css"},
        {"img/%2e%2e/%2e%2e/%2e%2e/b.png", "h.org", true, root_ + "horg/b.png"},
        {"../../../x", "", true, root_ + "horg/x"},
        {"/etc/passwd", "", true, root_ + "horg/etc/passwd"},
        {"C:\\secret.txt", "h.org", false, ""},
        {"\\\\server\\share\\f.htm", "", false, ""},
    };
    for (const Row& row : rows) {
        String out;
        EXPECT_EQ(mapper_.Resolve(row.text, row.host, base.c_str(), out, true), row.ok) << row.text;
        EXPECT_EQ(Str(out), row.local) << row.text;
    }
    // A document in the root itself (of a URL without a host) stops at the root.
    String out;
    EXPECT_TRUE(mapper_.Resolve("../../x", "", root_.c_str(), out, true));
    EXPECT_EQ(Str(out), root_ + "x");
}

// Escaped dots, a base written with dot segments, and a host folder the
// table no longer holds: none of them lets a link of a cached document out
// of its host's folder.
TEST_F(URLMapperTest, CachedLinksCannotClimbOutOfTheHostFolder) {
    ASSERT_EQ(Map("http://h.org/dir/a.htm"), root_ + "horg/dir/a.htm");
    const std::string escaped = "%2e%2e/%2e%2e/%2E%2E/%2e%2e/%2e%2e/etc/passwd";
    struct Row {
        std::string text;
        std::string base;
        bool ok;
        std::string local;
    };
    const Row rows[] = {
        {escaped, root_ + "horg/dir/", true, root_ + "horg/etc/passwd"},
        {"..%2f..%2f..%2f..%2fetc/passwd", root_ + "horg/dir/", true, root_ + "horg/etc/passwd"},
        {"..%5c..%5c..%5cx", root_ + "horg/dir/", true, root_ + "horg/x"},
        {"../../x", root_ + "horg/dir/./sub//../", true, root_ + "horg/x"},
        {"../../../x", root_ + "../cache/horg/dir/", true, root_ + "horg/x"},
        {"a.css", "", false, ""},  // a host's document of no known folder
    };
    for (const Row& row : rows) {
        String out;
        EXPECT_EQ(mapper_.Resolve(row.text.c_str(), "h.org", row.base.c_str(), out, false), row.ok) << row.text;
        EXPECT_EQ(Str(out), row.local) << row.text;
    }
    // Without its entry the folder right below the root is the host's.
    mapper_.RemoveAllServers();
    for (const char* host : {"h.org", ""}) {
        String out;
        EXPECT_TRUE(mapper_.Resolve(escaped.c_str(), host, (root_ + "horg/dir/").c_str(), out, false));
        EXPECT_EQ(Str(out), root_ + "horg/etc/passwd") << host;
    }
}

// Hosts of dots alone would have the root folder itself as their folder, and
// one with a separator would name a path.
TEST_F(URLMapperTest, HostsThatNameNoFolderAreRefused) {
    for (const char* host : {"..", ".", "a/..", "a\\b"}) {
        EXPECT_EQ(mapper_.ServerForHost(host), nullptr) << host;
        String out("stale");
        EXPECT_FALSE(mapper_.Resolve("/x.htm", host, "", out, true)) << host;
    }
    EXPECT_EQ(mapper_.Count(), 0u);
}

// An entry holds a path only once its dot segments are resolved; the root of
// a file system is never made a site; the deepest folder wins.
TEST_F(URLMapperTest, LocalPathsMatchEntriesOnTheirResolvedForm) {
    UMServer* site = mapper_.AddServer("local.site", "/data/site/");
    EXPECT_EQ(mapper_.ServerForLocalPath("/data/site/../secret/x", false, true), nullptr);
    EXPECT_EQ(mapper_.ServerForLocalPath("/data/site/./sub//x.svg", false, true), site);
    EXPECT_EQ(mapper_.ServerForLocalPath("/data/site/sub/../../site/x.svg", false, true), site);

    UMServer* secret = mapper_.ServerForLocalPath("/data/site/../secret/x", true, true);
    ASSERT_NE(secret, nullptr);
    EXPECT_EQ(Str(secret->folder), "/data/secret/");
    UMServer* dotted = mapper_.AddServer("dotted", "D:/Web/Site/../Other");
    EXPECT_EQ(Str(dotted->folder), "d:\\web\\other\\");
    EXPECT_EQ(mapper_.ServerForLocalPath("D:\\Web\\x\\..\\Other\\p.htm", false, true), dotted);

    String out;
    bool isHttp = false;
    mapper_.LocalPathToURL(out, "/data/site/../secret/x", "", false, isHttp);
    EXPECT_EQ(Str(out), "http://local.secret/x");

    for (const char* path : {"/a.htm", "/data/../a.htm", "d:\\a.htm", "\\\\srv\\share\\a.htm"}) {
        EXPECT_EQ(mapper_.ServerForLocalPath(path, true, true), nullptr) << path;
    }
    mapper_.LocalPathToURL(out, "/a.htm", "", true, isHttp);
    EXPECT_EQ(Str(out), "file:///a.htm");
    EXPECT_FALSE(isHttp);
    EXPECT_EQ(mapper_.Count(), 3u);

    // A wide entry sorts before the narrower site, yet the site holds its files.
    mapper_.AddServer("local.", "/data/");
    EXPECT_EQ(mapper_.ServerForLocalPath("/data/site/x.svg", false, true), site);
}

// The folder the user settles on in the dialog is checked as the proposal is.
TEST_F(URLMapperTest, NewEntryDialogCannotMakeTheRootASite) {
    dialogs_.actions = {{ServerDialogAction::kSetFolder, "/"}, {ServerDialogAction::kOk, {}}};
    EXPECT_EQ(mapper_.ServerForLocalPath("/data/web/a.svg", true, false), nullptr);
    EXPECT_EQ(mapper_.Count(), 0u);
}

TEST_F(URLMapperTest, LocalPathsMapBackToURLs) {
    String out;
    bool isHttp = true;
    mapper_.LocalPathToURL(out, "D:\\Site\\Sub\\a b.htm", "d:\\site", false, isHttp);
    EXPECT_EQ(Str(out), "Sub/a%20b.htm");
    EXPECT_FALSE(isHttp);

    mapper_.LocalPathToURL(out, "d:\\x\\y.htm", "", false, isHttp);
    EXPECT_EQ(Str(out), "file:///d|/x/y.htm");
    mapper_.LocalPathToURL(out, "/tmp/q r.svg", "", false, isHttp);
    EXPECT_EQ(Str(out), "file:///tmp/q%20r.svg");

    mapper_.AddServer("local.d.site", "d:\\site\\");
    mapper_.LocalPathToURL(out, "d:\\site\\pages\\p.htm", "", false, isHttp);
    EXPECT_EQ(Str(out), "http://local.d.site/pages/p.htm");
    EXPECT_TRUE(isHttp);

    mapper_.LocalPathToURL(out, "d:\\site\\pages\\p.htm", "d:\\site\\docs\\", false, isHttp);
    EXPECT_EQ(Str(out), "../pages/p.htm");
    EXPECT_FALSE(isHttp);

    mapper_.LocalPathToURL(out, "/srv/web/a.svg", "", true, isHttp);  // makes the entry
    EXPECT_EQ(Str(out), "http://local.web/a.svg");
    EXPECT_EQ(dialogs_.openCount, 0);  // quietly
}

TEST(URLMapperPathsTest, Helpers) {
    String folder;
    String name;
    SplitPath("d:\\a\\b.htm", folder, name);
    EXPECT_EQ(Str(folder), "d:\\a\\");
    EXPECT_EQ(Str(name), "b.htm");
    SplitPath("plain", folder, name);
    EXPECT_EQ(Str(folder), "");
    EXPECT_EQ(Str(name), "plain");
    EXPECT_EQ(Str(StripFileName("/srv/a/b.svg")), "/srv/a/");
    EXPECT_EQ(Str(StripFileName("b.svg")), "");
    EXPECT_EQ(Str(ConcatString("ab", "cd")), "abcd");
    EXPECT_EQ(Str(AppendChar("ab", '!')), "ab!");

    EXPECT_TRUE(IsLocalPath("c:\\x"));
    EXPECT_TRUE(IsLocalPath("\\\\srv\\share"));
    EXPECT_TRUE(IsLocalPath("/home/x"));
    EXPECT_FALSE(IsLocalPath("//host/x"));
    EXPECT_FALSE(IsLocalPath("http://h/x"));
    EXPECT_TRUE(IsRelativeURL("http://www.example.com/x.dtd"));
    EXPECT_FALSE(IsRelativeURL("http://localhost/x.dtd"));
    EXPECT_FALSE(IsRelativeURL("x.dtd"));

    String relative;
    EXPECT_TRUE(RelativePath("d:\\site\\img\\a.png", "D:\\Site\\docs\\page.htm", relative, '/'));
    EXPECT_EQ(Str(relative), "../img/a.png");
    EXPECT_TRUE(RelativePath("/srv/a/b/c.svg", "/srv/a/x.svg", relative, '/'));
    EXPECT_EQ(Str(relative), "b/c.svg");
    EXPECT_FALSE(RelativePath("e:\\x.htm", "d:\\y\\z.htm", relative, '\\'));
}

TEST(URLMapperPathsTest, FileQueries) {
    markup_test::TempDir dir;
    const std::string file = dir.Write("f.txt", "x");
    EXPECT_TRUE(FileExists(file.c_str()));
    EXPECT_TRUE(FileExists(dir.Path().c_str()));
    EXPECT_FALSE(FileExists(dir.File("nope").c_str()));
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    EXPECT_TRUE(FindFileTimes(file.c_str(), low, high));
    // After 2000-01-01 in 100-ns steps since 1601.
    EXPECT_GT((static_cast<std::uint64_t>(high) << 32) | low, 125911584000000000ull);
    EXPECT_TRUE(FindFileTimes((dir.Path() + "/").c_str(), low, high));
    EXPECT_FALSE(FindFileTimes(dir.File("nope").c_str(), low, high));
}

}  // namespace
}  // namespace markup
