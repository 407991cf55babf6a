// BasePaneDoc: the document's local file and its time stamp, frame nodes,
// clones, the base element and base URL, and the cache of mapped links.
#include "markup/pane_doc.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "markup/url_mapper.h"
#include "platform/path_queries.h"
#include "temp_dir.h"
#include "tree_fixtures.h"

namespace markup {
namespace {

using markup_test::E;
using markup_test::Str;
using markup_test::WithAttribute;

constexpr std::uint32_t kBaseTarget = 0x100050;  // element 16, attribute 80

URLSpec Url(const char* text) {
    URLSpec url;
    url.Parse(text);
    return url;
}

class PaneTest : public testing::Test {
  protected:
    PaneTest() : tree_(nullptr, nullptr), mapper_(URLMapper::Instance()) {
        mapper_.RemoveAllServers();
        root_ = dir_.Path() + "/cache/";
        mapper_.SetRootFolder(root_.c_str());
        mapper_.SetDefaultDocument("");
    }
    ~PaneTest() override { mapper_.RemoveAllServers(); }
    // document(html(head(base?), body))
    void BuildWithBase(const char* target, std::uint32_t specified = 1) {
        auto* head = E(2);
        if (target) head->AppendChild(WithAttribute(E(16), kBaseTarget, target, specified));
        tree_.AppendChild(E(173, {E(1, {head, E(25)})}));
    }

    markup_test::TempDir dir_;
    std::string root_;
    DocTree tree_;
    URLMapper& mapper_;
    BasePaneDoc pane_;
};

TEST_F(PaneTest, WithoutAURLThereIsNoLocalFileAndNoTimeStamp) {
    String out = "stale";
    EXPECT_FALSE(pane_.LocalPath(out));
    EXPECT_EQ(Str(out), "");
    pane_.SetTree(&tree_);
    EXPECT_EQ(tree_.GetFileTime().low, 0u);
    EXPECT_EQ(tree_.GetFileTime().high, 0u);
}

TEST_F(PaneTest, TheLocalFilesTimeReachesTheTree) {
    const std::string file = dir_.Write("doc.svg", "<svg/>");
    const URLSpec url = Url(file.c_str());
    pane_.SetURL(&url);
    pane_.SetTree(&tree_);
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    ASSERT_TRUE(platform::LastWriteTime(file.c_str(), low, high));
    EXPECT_EQ(tree_.GetFileTime().low, low);
    EXPECT_EQ(tree_.GetFileTime().high, high);
    String local;
    EXPECT_TRUE(pane_.LocalPath(local));
    EXPECT_EQ(Str(local), file);

    // A URL whose file is missing leaves the stamp as it was.
    const URLSpec missing = Url((dir_.Path() + "/none.svg").c_str());
    pane_.SetURL(&missing);
    EXPECT_EQ(tree_.GetFileTime().low, low);
    pane_.SetURL(nullptr);
    EXPECT_EQ(pane_.URL(), nullptr);
}

TEST_F(PaneTest, FrameNodesKeepOnlyTheirOwnType) {
    markup_test::Owned<AttrElement> frame(E(58));
    markup_test::Owned<AttrElement> frameset(E(57));
    pane_.SetFrameNode(frame.get());
    pane_.SetFrameNode(frameset.get());
    EXPECT_EQ(pane_.FrameNode(), frame.get());
    pane_.SetFramesetNode(frame.get());
    EXPECT_EQ(pane_.FramesetNode(), nullptr);
    pane_.SetFramesetNode(frameset.get());
    EXPECT_EQ(pane_.FramesetNode(), frameset.get());
    pane_.SetFrameNode(nullptr);
    EXPECT_EQ(pane_.FrameNode(), nullptr);
}

TEST_F(PaneTest, AClonesSharesTheTreeAndCopiesTheURL) {
    markup_test::Owned<AttrElement> frame(E(58));
    const URLSpec url = Url("http://www.example.com/dir/doc.htm");
    pane_.SetURL(&url);
    pane_.SetTree(&tree_);
    pane_.SetFrameNode(frame.get());
    markup_test::Owned<BasePaneDoc> clone(pane_.Clone());
    EXPECT_EQ(clone->Tree(), &tree_);
    ASSERT_NE(clone->URL(), nullptr);
    EXPECT_NE(clone->URL(), pane_.URL());
    EXPECT_EQ(Str(clone->URL()->FullText()), "http://www.example.com/dir/doc.htm");
    EXPECT_EQ(clone->FrameNode(), frame.get());
    std::uint32_t index = 0;
    EXPECT_TRUE(tree_.Panes().IndexOf(clone.get(), index));
}

TEST_F(PaneTest, BaseHrefComesFromTheFirstBaseElement) {
    String href;
    EXPECT_FALSE(pane_.FindBaseHref(href));  // no tree
    pane_.SetTree(&tree_);
    EXPECT_FALSE(pane_.FindBaseHref(href));  // empty tree
    BuildWithBase("../other/");
    Node* body = tree_.Root()->FirstChild()->LastChild();
    body->AppendChild(WithAttribute(E(16), kBaseTarget, "second/"));
    EXPECT_TRUE(pane_.FindBaseHref(href));
    EXPECT_EQ(Str(href), "../other/");
}

TEST_F(PaneTest, BaseHrefNeedsASpecifiedValue) {
    BuildWithBase("ignored", 0);
    pane_.SetTree(&tree_);
    String href;
    EXPECT_FALSE(pane_.FindBaseHref(href));
}

TEST_F(PaneTest, BaseURLIsTheDocumentsFolderOrItsBaseTargetsFolder) {
    const URLSpec url = Url("http://www.example.com/dir/doc.htm");
    pane_.SetURL(&url);
    pane_.SetTree(&tree_);
    EXPECT_EQ(Str(pane_.GetBaseURL().FullText()), "http://www.example.com/dir/");
    BuildWithBase("sub/page.htm");
    EXPECT_EQ(Str(pane_.GetBaseURL().FullText()), "http://www.example.com/dir/sub/");
}

TEST_F(PaneTest, LinksResolveAgainstTheBaseTargetsFolder) {
    const URLSpec url = Url("http://www.example.com/dir/doc.htm");
    pane_.SetURL(&url);
    pane_.SetTree(&tree_);
    BuildWithBase("sub/page.htm");
    String folder;
    EXPECT_TRUE(pane_.GetLocalFolder(folder));
    EXPECT_EQ(Str(folder), root_ + "wwwexamplecom/dir/sub/");
    String local;
    EXPECT_TRUE(pane_.MapURLToLocalFile("img/a.png", local));
    EXPECT_EQ(Str(local), root_ + "wwwexamplecom/dir/sub/img/a.png");
    EXPECT_TRUE(pane_.MapURLToLocalFile("/top.css", local));
    EXPECT_EQ(Str(local), root_ + "wwwexamplecom/top.css");
}

TEST_F(PaneTest, EachURLIsMappedOnce) {
    const URLSpec url = Url("http://www.example.com/doc.htm");
    pane_.SetURL(&url);
    pane_.SetTree(&tree_);
    String first;
    ASSERT_TRUE(pane_.MapURLToLocalFile("http://www.example.com/find?q=1", first));
    EXPECT_EQ(Str(first), root_ + "wwwexamplecom/Query1.htm");
    // Were the mapper asked again, the taken name would make it answer
    // "Query2.htm".
    std::ofstream(Str(first)) << "answer";
    String second;
    ASSERT_TRUE(pane_.MapURLToLocalFile("http://www.example.com/find?q=1", second));
    EXPECT_EQ(Str(second), Str(first));
    String other;
    ASSERT_TRUE(pane_.MapURLToLocalFile("http://www.example.com/find?q=2", other));
    EXPECT_EQ(Str(other), root_ + "wwwexamplecom/Query2.htm");
}

}  // namespace
}  // namespace markup
