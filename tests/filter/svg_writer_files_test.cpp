// The writer over the system's files: parts in $TMPDIR that never stay, the
// document through a borrowed descriptor, the external sheet beside it, and
// documents that xmllint and rsvg-convert accept.
#define _FILE_OFFSET_BITS 64

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "svg_elements.h"
#include "svg_gradient.h"
#include "svg_writer.h"
#include "xml_check.h"

namespace svgf {
namespace {

class Folder {
  public:
    Folder() {
        char pattern[] = "/tmp/svgfilter-writerXXXXXX";
        path_ = ::mkdtemp(pattern);
        ::mkdir((path_ + "/tmp").c_str(), 0700);
        const char* old = std::getenv("TMPDIR");
        hadOld_ = old != nullptr;
        if (hadOld_) old_ = old;
        ::setenv("TMPDIR", (path_ + "/tmp").c_str(), 1);
    }
    ~Folder() {
        std::system(("rm -rf " + path_).c_str());
        if (hadOld_) {
            ::setenv("TMPDIR", old_.c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }
    int TemporaryCount() const { return Count(path_ + "/tmp"); }
    // Entries beside the document, its temporary folder included.
    int EntryCount() const { return Count(path_); }
    std::string Path(const char* name) const { return path_ + "/" + name; }

  private:
    static int Count(const std::string& folder) {
        int count = 0;
        if (DIR* dir = ::opendir(folder.c_str())) {
            while (dirent* entry = ::readdir(dir)) count += entry->d_name[0] != '.';
            ::closedir(dir);
        }
        return count;
    }

    std::string path_;
    std::string old_;
    bool hadOld_ = false;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

SVGPage Page() {
    SVGPage page;
    page.pageRect = {0, 254000, 254000, 0};
    page.scaledRect = {0, 0, 1000, 1000};
    return page;
}

// A document with a layer, a gradient fill, a masked rectangle and a pattern,
// drawn on a white ground.
int WriteSample(WSVGWriter& writer, bool finish) {
    writer.BeginDocument(Page());
    SVGGroup layer;
    writer.OpenNamedElement(layer, "Layer 1");

    SVGGradient_Linear gradient;
    gradient.id.SetNumber(writer.NextDefinitionNumber());
    gradient.x1 = 0, gradient.y1 = 0, gradient.x2 = 1000, gradient.y2 = 0;
    SVGGradientStop red, blue;
    red.colour = {255, 0, 0};
    blue.offset = 255;
    blue.colour = {0, 0, 255};
    gradient.stops = {red, blue};
    writer.WriteDefinition(gradient);

    SVGMask mask;
    mask.id.SetNumber(writer.NextDefinitionNumber());
    mask.hasRegion = true;
    mask.width = mask.height = 1000;
    writer.BeginMask(mask);
    SVGGradient_Linear fade;
    fade.id.SetNumber(writer.NextDefinitionNumber());
    fade.units = 1;
    SVGGradientStop opaque, clear;
    opaque.opacity = 255;
    clear.offset = 255;
    clear.opacity = 0;
    fade.stops = {opaque, clear};
    writer.WriteDefinition(fade);
    SVGRectangle maskArea;
    maskArea.width = maskArea.height = 1000;
    maskArea.style.fill = CRCPtr<SVGFill>(std::make_unique<SVGFill_InlineReference>(fade.id.Name()));
    writer.WriteElement(maskArea);
    writer.EndMask();

    SVGRectangle shaded;
    shaded.width = 1000;
    shaded.height = 500;
    shaded.style.fill = CRCPtr<SVGFill>(std::make_unique<SVGFill_InlineReference>(gradient.id.Name()));
    shaded.style.mask = MakeRC<SVGMaskInlineReference>(mask.id.Name());
    writer.WriteElement(shaded);
    if (!finish) return 0;
    writer.EndNamedElement();

    SVGPattern pattern;
    pattern.id.SetNumber(writer.NextDefinitionNumber());
    pattern.width = pattern.height = 100;
    writer.BeginPattern(pattern);
    SVGEllipse dot;
    dot.cx = dot.cy = 50;
    dot.rx = dot.ry = 40;
    writer.WriteElement(dot);
    writer.EndPattern();
    SVGRectangle tiled;
    tiled.y = 500;
    tiled.width = 1000;
    tiled.height = 500;
    tiled.style.fill = CRCPtr<SVGFill>(std::make_unique<SVGFill_InlineReference>(pattern.id.Name()));
    writer.WriteElement(tiled);
    writer.WriteStyleRule(".fil0 {fill:none}");
    return writer.EndDocument();
}

struct ExportRun {
    int answer;
    std::string document;
};

ExportRun Export(const Folder& folder, uint32_t placement, bool finish) {
    const std::string path = folder.Path("drawing.svg");
    int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    EXPECT_GE(descriptor, 0);
    ExportRun run{};
    {
        SVGExportOptions options{1, 0, 0, 0, 1000, placement, nullptr};
        WSVGWriter writer(platform::SystemFiles().AttachDescriptor(descriptor), options, path);
        run.answer = WriteSample(writer, finish);
        if (run.answer == 1 && !writer.CommitStyleSheet()) run.answer = 0;
        if (!finish) {
            EXPECT_GT(folder.TemporaryCount(), 0) << "open parts live in $TMPDIR";
        }
    }
    ::close(descriptor);
    run.document = Slurp(path);
    return run;
}

TEST(SvgWriterFiles, FinishedDocumentsLeaveNoPartsAndRender) {
    for (uint32_t placement : {kCssInternal, kCssExternal, kCssStyleAttribute}) {
        Folder folder;
        ExportRun run = Export(folder, placement, true);
        EXPECT_EQ(run.answer, 1);
        EXPECT_EQ(folder.TemporaryCount(), 0);
        EXPECT_EQ(Exists(folder.Path("drawing.css")), placement == kCssExternal);
        EXPECT_EQ(run.document.substr(run.document.size() - 8), "</svg>\r\n");
        EXPECT_WELL_FORMED(run.document);
        if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0) continue;
        std::string command = "rsvg-convert -w 20 -h 20 -o " + folder.Path("out.png") + " " +
                              folder.Path("drawing.svg") + " 2>" + folder.Path("errors.txt");
        EXPECT_EQ(std::system(command.c_str()), 0) << Slurp(folder.Path("errors.txt"));
    }
}

TEST(SvgWriterFiles, AbandonedDocumentsLeaveNoPartsAndNoSheet) {
    Folder folder;
    ExportRun run = Export(folder, kCssExternal, false);
    EXPECT_EQ(folder.TemporaryCount(), 0);
    EXPECT_FALSE(Exists(folder.Path("drawing.css")));
}

// The sheet of an earlier export stays whole until a new document is
// finished, and is replaced only then.
TEST(SvgWriterFiles, AnEarlierStyleSheetStaysUntilTheNewDocumentIsWhole) {
    Folder folder;
    const std::string sheet = folder.Path("drawing.css");
    std::ofstream(sheet) << ".earlier {fill:none}\n";
    Export(folder, kCssExternal, false);
    EXPECT_EQ(Slurp(sheet), ".earlier {fill:none}\n");
    EXPECT_EQ(folder.EntryCount(), 3) << "the folder holds drawing.svg, drawing.css and tmp only";

    ExportRun run = Export(folder, kCssExternal, true);
    ASSERT_EQ(run.answer, 1);
    EXPECT_NE(Slurp(sheet).find(".fil0 {fill:none}"), std::string::npos) << Slurp(sheet);
    EXPECT_EQ(folder.EntryCount(), 3);
}

TEST(SvgWriterFiles, MissingTemporaryFolderFailsAtOnce) {
    Folder folder;
    ::setenv("TMPDIR", folder.Path("absent").c_str(), 1);
    SVGExportOptions options{1, 0, 0, 0, 1000, kCssInternal, nullptr};
    WSVGWriter writer(platform::SystemFiles().AttachDescriptor(STDERR_FILENO), options, folder.Path("x.svg"));
    EXPECT_TRUE(writer.Failed());
    EXPECT_EQ(writer.BeginDocument(Page()), 0);
}

}  // namespace
}  // namespace svgf
