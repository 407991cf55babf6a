// The import through FilterEntry, in this process, on the stand-in host's
// import side: a document drawn, the failures it answers with one error box
// and nothing drawn, the host's callback record given back on every path,
// and faults stopped at the entry.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <new>
#include <string>

#include "import_fixture.h"
#include "svgfilter/import_abi.h"

namespace {

constexpr const char* kRect = R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="50">
<g><rect x="10" y="10" width="30" height="20" fill="#FF0000"/></g>
<rect x="50" y="10" width="30" height="20" style="fill: #0000FF"/></svg>)";

class ImportDriver : public ImportFixture {
  protected:
    // Lines of the call log that draw something.
    size_t Drawn() const {
        size_t drawn = 0;
        for (const char* entry : {"Rectangle ", "Ellipse ", "Path ", "Text ", "Image ", "BeginGroup "}) {
            for (size_t at = log().find(entry); at != std::string::npos; at = log().find(entry, at + 1))
                ++drawn;
        }
        return drawn;
    }
    const std::string& log() const {
        logText_ = import_.Log().Text();
        return logText_;
    }

    mutable std::string logText_;
};

TEST_F(ImportDriver, DrawsTheDocumentWithItsStyles) {
    EXPECT_EQ(Import(Write("d.svg", kRect)), 1);
    EXPECT_TRUE(import_.Balance().Balanced()) << import_.Balance().problems.front();
    EXPECT_TRUE(messages_.entries.empty());
    const std::string description = import_.Description();
    EXPECT_NE(description.find("#FF0000"), std::string::npos) << description;
    EXPECT_NE(description.find("#0000FF"), std::string::npos) << description;
    // Installed for the drawing, and given back.
    EXPECT_NE(log().find("ExchangeCallback"), log().rfind("ExchangeCallback")) << log();
    EXPECT_EQ(host_.Context().errorCode, 0u);
}

struct FailureCase {
    const char* name;
    const char* document;  // null: no file
    const char* folder;    // the dictionary folder the host names; null: the build's
    const char* cause;
    bool callbackInstalled;  // the canvas was made (the document parsed)
};

class ImportFailure : public ImportDriver, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ImportFailure, AnswersFailureWithOneErrorBoxAndDrawsNothing) {
    const FailureCase& c = GetParam();
    if (c.folder != nullptr) import_.SetDictionaryFolder(c.folder);
    const std::string path = c.document != nullptr ? Write("d.svg", c.document) : folder_ + "/missing.svg";
    EXPECT_EQ(Import(path), 0);
    ASSERT_EQ(messages_.entries.size(), 1u);
    EXPECT_EQ(messages_.entries[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(messages_.entries[0].title, "SVG import");
    EXPECT_EQ(messages_.entries[0].text.rfind(path + ": ", 0), 0u) << messages_.entries[0].text;
    EXPECT_NE(messages_.entries[0].text.find(c.cause), std::string::npos) << messages_.entries[0].text;
    EXPECT_EQ(Drawn(), 0u) << log();
    EXPECT_TRUE(import_.Balance().Balanced()) << import_.Balance().problems.front();
    EXPECT_EQ(log().find("ExchangeCallback") != std::string::npos, c.callbackInstalled) << log();
    EXPECT_EQ(host_.Context().errorCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, ImportFailure,
    ::testing::Values(
        FailureCase{"missing", nullptr, nullptr, "the file could not be opened", false},
        FailureCase{"empty", "", nullptr, "holds no element", true},
        FailureCase{"not_svg", "<html><body><rect width='10' height='10'/></body></html>", nullptr,
                    "is not an SVG drawing", true},
        FailureCase{"empty_view_box",
                    "<svg width='10' height='10' viewBox='0 0 0 10'><rect width='5' height='5'/></svg>",
                    nullptr, "view box has no width", true},
        FailureCase{"no_dictionary_folder", kRect, "", "named no folder of markup dictionaries", false},
        FailureCase{"no_css_dictionary", kRect, "/nonexistent-dictionaries/", "CSS.dic could not be read",
                    false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImportDriver, ClosesTheHostsOpenFileFirstAlsoWhenTheImportFails) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[1]);
    import_.SetDocument(folder_ + "/missing.svg");
    host_.Context().fileHandle = fds[0];
    EXPECT_EQ(host_.Call(svgf::kCmdImport), 0);
    EXPECT_EQ(host_.Context().fileHandle, 0);
    EXPECT_EQ(::fcntl(fds[0], F_GETFD), -1);
    EXPECT_EQ(host_.Call(svgf::kCmdEndImport), 1);
}

TEST_F(ImportDriver, ASecondImportReusesTheHandleAndDrawsAgain) {
    const std::string path = Write("d.svg", kRect);
    import_.SetDocument(path);
    ASSERT_EQ(host_.Call(svgf::kCmdImport), 1);
    void* const handle = host_.Context().filterObject;
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(host_.Call(svgf::kCmdImport), 1);
    EXPECT_EQ(host_.Context().filterObject, handle);
    EXPECT_EQ(host_.Call(svgf::kCmdEndImport), 1);
    EXPECT_EQ(host_.Call(svgf::kCmdEndImport), 0);
}

// A drawing entry that runs out of memory in the middle of the drawing: the
// fault stops at the entry with error 24849, every object of the run is
// released (the sanitizer build checks) and the host has its record back.
int32_t SVGF_CALL ExhaustedRectangle(svgf::HostHandle, const svgf::HostAttributes*, int32_t, int32_t, int32_t,
                                     int32_t, int32_t, svgf::HostWord, const svgf::HostRect*,
                                     svgf::HostWord) {
    throw std::bad_alloc();
}

TEST_F(ImportDriver, MemoryExhaustedWhileDrawingStopsAtTheEntry) {
    svgf::HostDrawingTable table = import_.DrawingTable();
    table.slot[svgf::draw::kRectangle] = reinterpret_cast<svgf::HostServiceFn>(&ExhaustedRectangle);
    host_.Context().callbackRecord = &table;
    EXPECT_EQ(Import(Write("d.svg", kRect)), 0);
    host_.Context().callbackRecord = const_cast<svgf::HostDrawingTable*>(&import_.DrawingTable());
    EXPECT_EQ(host_.Context().errorCode, svgf::kErrNoMemory);
    ASSERT_EQ(messages_.entries.size(), 1u);
    EXPECT_NE(messages_.entries[0].text.find("not enough memory"), std::string::npos);
    for (const std::string& problem : import_.Balance().problems)
        EXPECT_EQ(problem.find("callback record"), std::string::npos) << problem;
}

}  // namespace

namespace {

// Entities split a text's character data into several nodes of the tree;
// the import takes each piece once, and knows the predefined entities with
// and without a DOCTYPE.
TEST_F(ImportDriver, TextsWithEntitiesArriveWhole) {
    if (host_.Fonts() == nullptr) GTEST_SKIP() << "no fonts";
    const std::string body =
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="50">)"
        R"(<text x="1" y="20">FISH &amp; CHIPS &lt;b&gt;</text></svg>)";
    for (const std::string& prolog :
         {std::string(), std::string(R"(<!DOCTYPE svg PUBLIC "-//W3C//DTD SVG 1.1//EN" "svg11.dtd">)")}) {
        import_.Reset();
        EXPECT_EQ(Import(Write("t.svg", prolog + body)), 1) << prolog;
        const std::string description = import_.Description();
        EXPECT_NE(description.find(R"("text": "FISH & CHIPS <b>")"), std::string::npos) << prolog << description;
    }
}

}  // namespace
