// Documents a style reference names by URL: a local copy is parsed without
// a fetch, a fetch answering 404 gives nothing, 200 a document, and the
// pane document keeps it for the next reference.
#include "markup/style/style_url_loader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "http_test_server.h"
#include "markup/pane_doc.h"
#include "markup/style/graphics_imp.h"
#include "markup/style/style_properties.h"
#include "markup/url_mapper.h"
#include "platform/web_access.h"
#include "temp_dir.h"
#include "token_fixtures.h"
#include "tree_fixtures.h"

namespace {

using markup::String;
using namespace markup::style;

class UrlLoaderTest : public ::testing::Test {
  protected:
    UrlLoaderTest() : mapper_(markup::URLMapper::Instance()) {
        mapper_.RemoveAllServers();
        mapper_.SetRootFolder((dir_.Path() + "/cache").c_str());
        platform::WebAccessLibrary::SetLibraryPath("");
        // Stands in for the parser: one element per file, counting parses.
        SetStyleDocumentParser([this](const String& file) -> std::shared_ptr<markup::DocTree> {
            ++parses_;
            lastFile_ = std::string(file.Text(), file.Length());
            auto tree = std::make_shared<markup::DocTree>(&factory_, nullptr);
            tree->AppendChild(markup_test::E(186));
            return tree;
        });
    }
    ~UrlLoaderTest() override {
        SetStyleDocumentParser(nullptr);
        mapper_.RemoveAllServers();
    }

    markup_test::TempDir dir_;
    markup::URLMapper& mapper_;
    markup_test::TestFactory factory_;
    platform::FixedFontBackend backend_;
    GraphicsImp graphics_{backend_};
    markup::BasePaneDoc pane_;
    int parses_ = 0;
    std::string lastFile_;
};

TEST_F(UrlLoaderTest, ALocalCopyIsParsedWithoutFetching) {
    const std::string file = dir_.Path() + "/paint.svg";
    std::ofstream(file) << "<svg/>";
    StyleProperties style;
    style.SetPaneDocument(&pane_);
    const String url = ("file://" + file).c_str();
    markup::DocTree* first = style.LoadURLResource(url);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(lastFile_, file);
    EXPECT_EQ(style.LoadURLResource(url), first);  // kept by the pane
    EXPECT_EQ(parses_, 1);
    // A URL reference stores the document and its root element.
    style.SetReference(93, &url);
    markup::Node* element = nullptr;
    EXPECT_EQ(style.GetClipPath(element), first);
    EXPECT_EQ(element, first->Root());
}

TEST_F(UrlLoaderTest, FetchesAnswering404GiveNothingAnd200ADocument) {
    if (!platform::WebAccessLibrary::Get().Available()) GTEST_SKIP() << "no web-access library in this build";
    markup_test::HttpTestServer server({{"/grad.svg", {200, "<svg/>"}}}, 4, std::chrono::seconds(20));
    ASSERT_NE(server.Port(), 0);
    const std::string root = "http://127.0.0.1:" + std::to_string(server.Port());
    StyleProperties style;
    style.SetPaneDocument(&pane_);
    EXPECT_EQ(style.LoadURLResource((root + "/missing.svg").c_str()), nullptr);
    EXPECT_EQ(parses_, 0);
    markup::DocTree* loaded = style.LoadURLResource((root + "/grad.svg").c_str());
    ASSERT_NE(loaded, nullptr);
    StyleProperties other;
    other.SetPaneDocument(&pane_);
    EXPECT_EQ(other.LoadURLResource((root + "/grad.svg").c_str()), loaded);
    EXPECT_EQ(server.Requests(), 2);
    EXPECT_EQ(parses_, 1);
}

// The markup parser itself, over the registry's open dictionary: the
// reference holds the other document's root element.
TEST_F(UrlLoaderTest, TheMarkupParserLoadsTheDocument) {
    SetStyleDocumentParser(nullptr);
    markup_test::FreshRegistry registry;
    const std::string file = dir_.Path() + "/paint.svg";
    std::ofstream(file) << "<?xml version=\"1.0\"?>\n<svg><linearGradient id=\"g\"/></svg>";
    StyleProperties style;
    style.SetPaneDocument(&pane_);
    const String url = ("file://" + file).c_str();
    style.SetFillURL(&url);
    markup::DocTree* document = nullptr;
    markup::Node* element = nullptr;
    std::uint32_t colour = 0;
    EXPECT_EQ(style.GetFill(document, element, colour), kStylePaintURL);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(element, document->Root());
    EXPECT_EQ(pane_.LoadedDocument(url), document);
    // A file that is not there gives no document.
    const String missing = ("file://" + dir_.Path() + "/none.svg").c_str();
    style.SetStrokeURL(&missing);
    EXPECT_EQ(style.GetStroke(document, element, colour), kStylePaintURL);
    EXPECT_EQ(document, nullptr);
}

}  // namespace
