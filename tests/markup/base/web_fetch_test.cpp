// Fetching documents into their mapped local files through the web-access
// library, from a local test server; and what a failed fetch leaves.
#include "markup/web_fetch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "http_test_server.h"
#include "markup/url_mapper.h"
#include "platform/web_access.h"
#include "temp_dir.h"

namespace markup {
namespace {

using markup_test::HttpTestServer;

std::string Str(const String& s) {
    return std::string(s.Text(), s.Length());
}

class WebFetchTest : public testing::Test {
  protected:
    WebFetchTest() : mapper_(URLMapper::Instance()) {
        mapper_.RemoveAllServers();
        mapper_.SetRootFolder((dir_.Path() + "/cache").c_str());
        platform::WebAccessLibrary::SetLibraryPath("");
    }
    ~WebFetchTest() override {
        mapper_.RemoveAllServers();
        platform::WebAccessLibrary::SetLibraryPath("");
    }
    String LocalFor(const std::string& url) {
        String local;
        EXPECT_TRUE(mapper_.Resolve(url.c_str(), "", "", local, true));
        return local;
    }
    // Files in the folder other than the document: nothing may be left over.
    static int Leftovers(const std::string& folder) {
        int count = 0;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
            if (entry.is_regular_file()) ++count;
        }
        return count;
    }

    markup_test::TempDir dir_;
    URLMapper& mapper_;
};

TEST_F(WebFetchTest, FetchesOnceIntoTheMappedFile) {
    if (!platform::WebAccessLibrary::Get().Available()) GTEST_SKIP() << "no web-access library in this build";
    HttpTestServer server({{"/docs/page.svg", {200, "<svg/>"}}}, 4, std::chrono::seconds(20));
    ASSERT_NE(server.Port(), 0);
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/docs/page.svg";
    const String local = LocalFor(url);
    EXPECT_EQ(Str(local), dir_.Path() + "/cache/127001/docs/page.svg");

    EXPECT_TRUE(FetchIfMissing(url.c_str(), local, kWebSessionStyle));
    EXPECT_EQ(markup_test::ReadAll(local.Text()), "<svg/>");
    EXPECT_EQ(server.Requests(), 1);

    EXPECT_TRUE(FetchIfMissing(url.c_str(), local, kWebSessionStyle));  // found: not fetched again
    EXPECT_EQ(server.Requests(), 1);
    EXPECT_EQ(Leftovers(dir_.Path() + "/cache/127001/docs"), 1);
}

TEST_F(WebFetchTest, NotFoundLeavesNoFileBehind) {
    if (!platform::WebAccessLibrary::Get().Available()) GTEST_SKIP() << "no web-access library in this build";
    HttpTestServer server({}, 4, std::chrono::seconds(20));
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/missing.svg";
    const String local = LocalFor(url);
    EXPECT_FALSE(FetchIfMissing(url.c_str(), local, kWebSessionDictionary));
    EXPECT_EQ(server.Requests(), 1);
    EXPECT_FALSE(FileExists(local));
    EXPECT_EQ(Leftovers(dir_.Path() + "/cache/127001"), 0);
    // A later attempt fetches again rather than taking an error page for it.
    EXPECT_FALSE(FetchIfMissing(url.c_str(), local, kWebSessionDictionary));
    EXPECT_EQ(server.Requests(), 2);
}

TEST_F(WebFetchTest, RefusedConnectionIsAFailedFetch) {
    if (!platform::WebAccessLibrary::Get().Available()) GTEST_SKIP() << "no web-access library in this build";
    const std::string url = "http://127.0.0.1:" + std::to_string(HttpTestServer::ClosedPort()) + "/a.svg";
    const String local = LocalFor(url);
    EXPECT_FALSE(FetchIfMissing(url.c_str(), local, kWebSessionStyle));
    EXPECT_FALSE(FileExists(local));
    EXPECT_EQ(Leftovers(dir_.Path() + "/cache/127001"), 0);
}

TEST_F(WebFetchTest, FileURLsAreFetchedToo) {
    if (!platform::WebAccessLibrary::Get().Available()) GTEST_SKIP() << "no web-access library in this build";
    const std::string source = dir_.Write("source.css", "svg { fill: red }");
    const std::string target = dir_.File("copies/deep/copy.css");
    EXPECT_TRUE(FetchIfMissing(("file://" + source).c_str(), target.c_str(), kWebSessionStyle));
    EXPECT_EQ(markup_test::ReadAll(target), "svg { fill: red }");
    EXPECT_FALSE(FetchIfMissing(("file://" + dir_.File("absent.css")).c_str(),
                                dir_.File("copies/x.css").c_str(), kWebSessionStyle));
    EXPECT_FALSE(FileExists(dir_.File("copies/x.css").c_str()));
}

TEST_F(WebFetchTest, WithoutTheLibraryEveryFetchFails) {
    platform::WebAccessLibrary::SetLibraryPath(dir_.File("no-such-library.so"));
    EXPECT_FALSE(platform::WebAccessLibrary::Get().Available());
    const String local = dir_.File("doc.svg").c_str();
    EXPECT_FALSE(FetchIfMissing("http://127.0.0.1:1/doc.svg", local, kWebSessionStyle));
    EXPECT_FALSE(FileExists(local));
    dir_.Write("doc.svg", "<svg/>");
    EXPECT_TRUE(FetchIfMissing("http://127.0.0.1:1/doc.svg", local, kWebSessionStyle));  // already there
    EXPECT_FALSE(FetchIfMissing("http://127.0.0.1:1/doc.svg", "", kWebSessionStyle));
}

}  // namespace
}  // namespace markup
