// Exports through the shared module as the host application does, with real
// files: the document's bytes, the style sheet, the release of the host's
// handle, the temporary folder left clean, and the tool's command line.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host/drawing_export.h"
#include "host/drawing_player.h"
#include "host/drawing_reader.h"
#include "host/host_fonts.h"
#include "host/module_loader.h"
#include "host/stand_in_host.h"

namespace host {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// The folder's entries, listed by ls: under the 32-bit emulation the C
// library's own directory reading fails on large directory offsets.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    FILE* list = ::popen(("ls -A '" + folder + "'").c_str(), "r");
    if (list == nullptr) {
        ADD_FAILURE() << "cannot list " << folder;
        return names;
    }
    char line[4096];
    while (std::fgets(line, sizeof line, list) != nullptr) {
        std::string name = line;
        if (!name.empty() && name.back() == '\n') name.pop_back();
        names.push_back(name);
    }
    if (::pclose(list) != 0) ADD_FAILURE() << "cannot list " << folder;
    return names;
}

// Runs a command line through the shell; its exit status, or -1.
int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveTool(const char* name) {
    return Shell(std::string("command -v ") + name + " >/dev/null 2>&1") == 0;
}

std::string Quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Every test gets its own output folder and its own temporary folder, so
// that "no temporary part left" can be checked by listing it.
class ExportEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/svgfilter-e2e-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        out_ = root_ + "/out";
        temp_ = root_ + "/tmp";
        ASSERT_EQ(::mkdir(out_.c_str(), 0755), 0);
        ASSERT_EQ(::mkdir(temp_.c_str(), 0755), 0);
        const char* old = std::getenv("TMPDIR");
        if (old != nullptr) oldTemp_ = old;
        hadTemp_ = old != nullptr;
        ::setenv("TMPDIR", temp_.c_str(), 1);

        std::string error;
        module_ = ModuleLibrary::Open(DefaultModulePath(), &error);
        ASSERT_TRUE(module_) << error;
        host_ = std::make_unique<StandInHost>(module_->Entry());
    }

    void TearDown() override {
        host_.reset();
        module_.reset();
        if (hadTemp_) {
            ::setenv("TMPDIR", oldTemp_.c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
        Shell("rm -rf " + Quote(root_));
    }

    // Codes 9 and 5 on a one-inch page; then the host reports `walk`; then 7.
    int32_t ExportOneInch(const std::string& path, uint32_t placement,
                          const std::function<void(const svgf::ExportCallbackRecord&)>& walk) {
        svgf::FilterContext& c = host_->Context();
        host_->SetNoUserInterface(true);
        EXPECT_EQ(host_->Call(svgf::kCmdOptions), 1);
        EXPECT_NE(c.exportOptions, nullptr);
        if (c.exportOptions == nullptr) return 0;
        c.exportOptions->cssPlacement = placement;
        EXPECT_TRUE(host_->OpenOutput(path));
        c.pageRect = svgf::HostRect{0, 254000, 254000, 0};
        EXPECT_EQ(host_->Call(svgf::kCmdBeginExport), 1);
        EXPECT_NE(c.callbackRecord, nullptr);
        if (c.callbackRecord != nullptr) {
            const auto& record = *static_cast<const svgf::ExportCallbackRecord*>(c.callbackRecord);
            host_->Report([&] { walk(record); });
        }
        const int32_t answer = host_->Call(svgf::kCmdEndExport);
        host_->CloseOutput();
        return answer;
    }

    static void OneLayer(const svgf::ExportCallbackRecord& r) {
        EXPECT_EQ(r.beginDrawing(r.object), 0);
        EXPECT_EQ(r.beginNamedLayer(r.object, "Layer 1"), 0);
        EXPECT_EQ(r.endNamedLayer(r.object), 0);
        EXPECT_EQ(r.endDrawing(r.object), 0);
    }

    void ExpectWellFormed(const std::string& path) {
        if (!HaveTool("xmllint")) return;
        EXPECT_EQ(Shell("xmllint --noout " + Quote(path)), 0) << ReadFile(path);
    }

    std::string root_, out_, temp_, oldTemp_;
    bool hadTemp_ = false;
    std::unique_ptr<ModuleLibrary> module_;
    std::unique_ptr<StandInHost> host_;
};

const char kOneInchDocument[] =
    "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n"
    "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 20000303 Stylable//EN\" "
    "\"http://www.w3.org/TR/2000/03/WD-SVG-20000303/DTD/svg-20000303-stylable.dtd\">\r\n"
    "<!-- Creator: Lumavecta -->\r\n"
    "<svg xml:space=\"preserve\" xmlns=\"http://www.w3.org/2000/svg\" "
    "xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
    "width=\"1in\" height=\"1in\" style=\"shape-rendering:geometricPrecision; "
    "text-rendering:geometricPrecision; "
    "image-rendering:optimizeQuality\"\r\n"
    "     viewBox=\"0 0 1000 1000\">\r\n"
    " <g id=\"Layer 1\">\r\n"
    " </g>\r\n"
    "</svg>\r\n";

TEST_F(ExportEndToEnd, OneInchPageWithOneLayerIsExactlyTheExpectedDocument) {
    const std::string path = out_ + "/page.svg";
    ASSERT_EQ(ExportOneInch(path, svgf::kCssInternal, OneLayer), 1);
    EXPECT_EQ(ReadFile(path), kOneInchDocument);
    EXPECT_EQ(host_->Log().Count("ReleaseHandle"), 1u);
    EXPECT_EQ(host_->Context().hostHandle, 0u);
    EXPECT_EQ(host_->Context().callbackRecord, nullptr);
    EXPECT_EQ(host_->Context().filterObject, nullptr);
    EXPECT_TRUE(Entries(temp_).empty());
    ExpectWellFormed(path);
}

TEST_F(ExportEndToEnd, ExternalPlacementWritesTheStyleSheetAndItsInstruction) {
    const std::string path = out_ + "/page.svg";
    ASSERT_EQ(ExportOneInch(path, svgf::kCssExternal, OneLayer), 1);
    const std::string document = ReadFile(path);
    EXPECT_NE(document.find(
                  "<!-- Creator: Lumavecta -->\r\n<?xml-stylesheet href=\"page.css\" type=\"text/css\"?>\r\n"
                  "<svg "),
              std::string::npos)
        << document;
    EXPECT_TRUE(Exists(out_ + "/page.css"));
    EXPECT_TRUE(Entries(temp_).empty());
    ExpectWellFormed(path);
}

TEST_F(ExportEndToEnd, PresetErrorCodeFailsEndExportAndStillReleasesEverything) {
    const std::string path = out_ + "/page.svg";
    const int32_t answer = ExportOneInch(path, svgf::kCssInternal, [&](const svgf::ExportCallbackRecord& r) {
        OneLayer(r);
        host_->Context().errorCode = 1234;
    });
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(host_->Log().Count("ReleaseHandle"), 1u);
    EXPECT_EQ(host_->Context().hostHandle, 0u);
    EXPECT_EQ(host_->Context().filterObject, nullptr);
    EXPECT_EQ(host_->Context().exportOptions, nullptr);
    EXPECT_TRUE(Entries(temp_).empty());
}

TEST_F(ExportEndToEnd, SampleExportsWellFormedAndRenders) {
    const DrawingResult drawing = ReadDrawingFile(SVGFILTER_SOURCE_DIR "/examples/sample.json");
    ASSERT_TRUE(drawing) << drawing.error.Describe("sample.json");
    const std::string path = out_ + "/sample.svg";
    const ExportResult result = ExportDrawing(*host_, *drawing.drawing, path);
    if (HasText(*drawing.drawing) && MakeHostFonts() == nullptr) {
        // A host without fonts cannot lay the sample's text out: the export
        // fails at the first text object and leaves nothing behind.
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.message.find("/objects/0: this host has no fonts"), std::string::npos)
            << result.message;
        EXPECT_TRUE(Entries(out_).empty());
        EXPECT_TRUE(Entries(temp_).empty());
        GTEST_SKIP() << "this build's host has no fonts";
    }
    ASSERT_TRUE(result.ok) << result.message;
    // Beside the document, at most the folder of its images (a host built
    // without image files skips the bitmap).
    for (const std::string& entry : Entries(out_))
        EXPECT_TRUE(entry == "sample.svg" || entry == "sample_Images") << entry;
    EXPECT_TRUE(Entries(temp_).empty());
    ExpectWellFormed(path);
    if (!HaveTool("rsvg-convert")) GTEST_SKIP() << "rsvg-convert is not installed";
    EXPECT_EQ(Shell("rsvg-convert -o " + Quote(out_ + "/sample.png") + " " + Quote(path)), 0);
}

TEST_F(ExportEndToEnd, AnOutputThatCannotBeMadeFailsWithoutLeavingAnything) {
    const DrawingResult drawing = ReadDrawingFile(SVGFILTER_SOURCE_DIR "/examples/sample.json");
    ASSERT_TRUE(drawing);
    const ExportResult result = ExportDrawing(*host_, *drawing.drawing, out_ + "/missing/sample.svg");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("cannot create"), std::string::npos) << result.message;
    EXPECT_TRUE(Entries(out_).empty());
}

TEST_F(ExportEndToEnd, AnExternalStyleSheetNamedLikeTheDocumentIsRefused) {
    const DrawingResult drawing = ReadDrawing(
        R"({"format": "svgfilter-drawing", "version": 1, "page": {"width": 254000, "height": 254000},
            "layers": [{"name": "L", "objects": [{"kind": "rectangle", "x": 0, "y": 0, "width": 1000,
              "height": 1000, "fill": {"kind": "uniform", "colour": "#FF0000"}}]}]})");
    ASSERT_TRUE(drawing) << drawing.error.Describe("drawing");
    const ExportResult result = ExportDrawing(*host_, *drawing.drawing, out_ + "/d.css",
                                              [](svgf::SVGExportOptions& o) { o.cssPlacement = svgf::kCssExternal; });
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("style sheet would take the document's own name"), std::string::npos)
        << result.message;
    EXPECT_TRUE(Entries(out_).empty());
    // In the document itself the rules need no name of their own.
    ASSERT_TRUE(ExportDrawing(*host_, *drawing.drawing, out_ + "/d.css").ok);
    EXPECT_NE(ReadFile(out_ + "/d.css").find(".fil0 {fill:#FF0000}"), std::string::npos);
}

// The tool itself, run as a user runs it.
class ExportCommandLine : public ExportEndToEnd {
  protected:
    // `shell` runs first, in the shell that starts the tool.
    int Tool(const std::string& arguments, std::string* errors = nullptr, const std::string& shell = "") {
        const std::string errorFile = root_ + "/stderr.txt";
        const int status = Shell(shell + std::string(SVGFILTER_TOOL_LAUNCHER) + Quote(SVGFILTER_TOOL) +
                                 " export " + arguments + " >/dev/null 2>" + Quote(errorFile));
        if (errors != nullptr) *errors = ReadFile(errorFile);
        ::unlink(errorFile.c_str());
        return status;
    }
};

TEST_F(ExportCommandLine, MalformedDescriptionNamesThePlaceAndLeavesNoOutput) {
    const struct {
        const char* text;
        const char* where;
    } cases[] = {
        {"{\n  \"format\": \"svgfilter-drawing\",\n  \"version\": 1,\n  \"page\": {\"width\": 1 \"height\": "
         "1}\n}",
         "bad.json:4:"},
        {R"({"format": "svgfilter-drawing", "version": 1, "page": {"width": 1, "height": 1},
             "layers": [{"name": "L", "objects": [{"kind": "blob"}]}]})",
         "bad.json:/layers/0/objects/0/kind: unknown kind"},
        {R"({"format": "svgfilter-drawing", "version": 1, "page": {"width": "x", "height": 1}})",
         "bad.json:/page/width:"},
        {R"({"format": "svgfilter-drawing", "version": 1})", "missing member \"page\""},
        // A number beyond a double's range, even where it is ignored.
        {R"({"format":"svgfilter-drawing","version":1,"page":{"width":4,"height":3},"comment":1e400})",
         "bad.json:1:83: the number 1e400 is too large"},
        // Objects given twice would drop the first ones.
        {R"({"format": "svgfilter-drawing", "version": 1, "page": {"width": 1, "height": 1},
             "layers": [{"name": "L", "objects": [{"kind": "group"}], "objects": []}]})",
         "bad.json:/layers/0/objects: repeated member \"objects\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string input = root_ + "/bad.json";
        std::ofstream(input) << c.text;
        const std::string output = out_ + "/bad.svg";
        std::string errors;
        EXPECT_EQ(Tool(Quote(input) + " " + Quote(output), &errors), 1);
        EXPECT_NE(errors.find(c.where), std::string::npos) << errors;
        EXPECT_FALSE(Exists(output));
    }
    EXPECT_TRUE(Entries(out_).empty());
}

// The description is read as it is exported: an error far into it ends the
// export there, and nothing is left of what was written before it.
TEST_F(ExportCommandLine, AnErrorAfterAMillionObjectsLeavesNothing) {
#if defined(__SANITIZE_ADDRESS__) || defined(__i386__)
    const size_t count = 10000;  // sanitized and emulated builds run far slower
#else
    const size_t count = 1000000;
#endif
    const std::string input = root_ + "/big.json";
    {
        std::ofstream out(input);
        out << R"({"format": "svgfilter-drawing", "version": 1, "unit": "in", "page": {"width": 4, "height": 4},
                   "layers": [{"name": "L", "objects": [)";
        for (size_t i = 0; i < count; ++i)
            out << R"({"kind":"rectangle","x":1,"y":1,"width":1,"height":1,"fill":{"kind":"uniform","colour":"#)"
                << (i % 2 ? "FF0000" : "0000FF") << "\"}},\n";
        out << R"({"kind": "rectangle", "x": 1, "y": 1, "width": 1}]}]})";
    }
    std::string errors;
    EXPECT_EQ(Tool(Quote(input) + " " + Quote(out_ + "/big.svg") + " --css external", &errors), 1);
    EXPECT_NE(errors.find("big.json:/layers/0/objects/" + std::to_string(count) + ": missing member \"height\""),
              std::string::npos)
        << errors;
    EXPECT_TRUE(Entries(out_).empty());
    EXPECT_TRUE(Entries(temp_).empty());
}

// Members that another one needs may come after it; the document is the same.
TEST_F(ExportEndToEnd, MembersInAnyOrderExportTheSameDocument) {
    const char* inOrder = R"({"format": "svgfilter-drawing", "version": 1, "unit": "in",
      "page": {"width": 2, "height": 1},
      "layers": [{"name": "L", "objects": [
        {"kind": "group", "link": {"url": "#a"}, "objects": [
          {"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1,
           "fill": {"kind": "pattern", "width": 0.5, "height": 0.5, "objects": [
             {"kind": "ellipse", "cx": 0.25, "cy": 0.25, "rx": 0.2, "ry": 0.2,
              "fill": {"kind": "uniform", "colour": "#00FF00"}}]}}]},
        {"kind": "clip", "shape": {"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1},
         "objects": [{"kind": "path", "nodes": [["M", 0, 0], ["L", 1, 1]],
                      "outline": {"kind": "solid", "colour": "#000000", "width": 0.01}}]}]}]})";
    const char* outOfOrder = R"({"layers": [{"objects": [
        {"objects": [
          {"fill": {"objects": [
             {"fill": {"colour": "#00FF00", "kind": "uniform"}, "ry": 0.2, "rx": 0.2, "cy": 0.25, "cx": 0.25,
              "kind": "ellipse"}], "height": 0.5, "width": 0.5, "kind": "pattern"},
           "height": 1, "width": 1, "y": 0, "x": 0, "kind": "rectangle"}],
         "link": {"url": "#a"}, "kind": "group"},
        {"objects": [{"outline": {"width": 0.01, "colour": "#000000", "kind": "solid"},
                      "nodes": [["M", 0, 0], ["L", 1, 1]], "kind": "path"}],
         "shape": {"height": 1, "width": 1, "y": 0, "x": 0, "kind": "rectangle"}, "kind": "clip"}],
        "name": "L"}],
      "page": {"height": 1, "width": 2}, "unit": "in", "version": 1, "format": "svgfilter-drawing"})";
    std::string documents[2];
    for (int k = 0; k < 2; ++k) {
        const std::string input = root_ + "/drawing.json";
        std::ofstream(input) << (k == 0 ? inOrder : outOfOrder);
        const std::string path = out_ + "/drawing.svg";
        const ExportResult result = ExportDrawingFile(*host_, input, path);
        ASSERT_TRUE(result.ok) << result.message;
        documents[k] = ReadFile(path);
        ExpectWellFormed(path);
    }
    EXPECT_NE(documents[0].find("<pattern"), std::string::npos) << documents[0];
    EXPECT_EQ(documents[1], documents[0]);
}

TEST_F(ExportCommandLine, ExportsTheSampleWithOptionFlags) {
    if (MakeHostFonts() == nullptr) GTEST_SKIP() << "this build's host has no fonts for the sample's text";
    const std::string output = out_ + "/sample.svg";
    std::string errors;
    ASSERT_EQ(Tool(Quote(SVGFILTER_SOURCE_DIR "/examples/sample.json") + " " + Quote(output) +
                       " --css external --precision 2540",
                   &errors),
              0)
        << errors;
    const std::string document = ReadFile(output);
    EXPECT_NE(document.find("viewBox=\"0 0 10160 15240\""), std::string::npos) << document;
    EXPECT_NE(document.find("href=\"sample.css\""), std::string::npos);
    EXPECT_TRUE(Exists(out_ + "/sample.css"));
    EXPECT_TRUE(Entries(temp_).empty());
    ExpectWellFormed(output);
    EXPECT_EQ(Tool("only-one-path.json"), 2);
}

// A drawing of many rectangles in many colours, without text (so that every
// build exports it): its document is some hundred kilobytes.
std::string ManyRectangles(int count) {
    std::string objects;
    for (int i = 0; i < count; ++i) {
        char colour[8];
        std::snprintf(colour, sizeof colour, "#%06X", (i * 2654435761u) & 0xFFFFFF);
        objects += std::string(i ? "," : "") +
                   "{\"kind\": \"rectangle\", \"x\": " + std::to_string(i % 40 * 0.1) +
                   ", \"y\": " + std::to_string(i / 40 * 0.1) +
                   ", \"width\": 0.05, \"height\": 0.05, \"fill\": {\"kind\": \"uniform\", \"colour\": \"" +
                   colour + "\"}}";
    }
    return R"({"format": "svgfilter-drawing", "version": 1, "unit": "in", "page": {"width": 4, "height": 4},
               "layers": [{"name": "L", "objects": [)" +
           objects + "]}]}";
}

// Renaming the document over a device or a pipe would destroy it.
TEST_F(ExportCommandLine, AnOutputThatIsNoRegularFileIsRefusedAndStays) {
    const std::string input = root_ + "/small.json";
    std::ofstream(input) << ManyRectangles(3);
    const std::string pipe = out_ + "/pipe.svg";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string errors;
    EXPECT_EQ(Tool(Quote(input) + " " + Quote(pipe), &errors), 1);
    EXPECT_NE(errors.find("pipe.svg: is not a regular file"), std::string::npos) << errors;
    struct stat st;
    ASSERT_EQ(::stat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(Entries(out_), std::vector<std::string>{"pipe.svg"});
    EXPECT_EQ(Tool(Quote(input) + " " + Quote(out_), &errors), 1);
    EXPECT_NE(errors.find("is a folder"), std::string::npos) << errors;
}

// A full disk (here: a file size limit, which fails writes as a full disk
// does) is named in the message, and the earlier style sheet stays.
TEST_F(ExportCommandLine, AFullDiskIsNamedAndLeavesTheEarlierStyleSheet) {
    const std::string input = root_ + "/many.json";
    std::ofstream(input) << ManyRectangles(2000);
    std::ofstream(out_ + "/many.css") << ".earlier {}";
    std::string errors;
    EXPECT_EQ(Tool(Quote(input) + " " + Quote(out_ + "/many.svg") + " --css external", &errors,
                   "ulimit -f 8; trap '' XFSZ; "),
              1);
    EXPECT_NE(errors.find("no space left on the device"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("error 0"), std::string::npos) << errors;
    EXPECT_EQ(Entries(out_), std::vector<std::string>{"many.css"});
    EXPECT_EQ(ReadFile(out_ + "/many.css"), ".earlier {}");
    EXPECT_TRUE(Entries(temp_).empty());
}

}  // namespace
}  // namespace host
