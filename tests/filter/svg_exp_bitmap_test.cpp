// Bitmap export: the names of the image files, the sub-context the host runs
// its raster filter over (twice), the image element and the crop clip path.
// The bitmap services here are scripted; the geometry services are the
// stand-in host's.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bitmap_file.h"
#include "host/stand_in_host.h"
#include "platform/memory_settings_store.h"
#include "platform/scripted_files.h"
#include "svg_exp.h"

namespace svgf {
namespace {

constexpr int kOutputDescriptor = 7;
constexpr HostHandle kBitmap = 0xB17;
constexpr HostHandle kInfo = 0x1F0;
constexpr HostHandle kCanvas = 0xCA5;

// One call of the run service, with the sub-context as it was then.
struct RunRecord {
    FilterContext context;
    std::string fileName;
    uint8_t paletted;
    uint8_t mark;
    uint8_t hostByte;  // a byte of the host's own part of the exchange block
};

struct BitmapServices {
    uint32_t sourceType = kSourceRgb;
    HostHandle infoAnswer = kInfo;
    bool describe = true;
    std::vector<int32_t> runAnswers{1, 1};
    std::vector<RunRecord> runs;
    std::vector<const FilterContext*> ended;
    std::vector<std::string> steps;
    std::vector<HostHandle> infoAsked;
    // Where a write run puts its file, as the host's raster filter would.
    platform::ScriptedFiles* disk = nullptr;
};
BitmapServices g_bitmaps;

HostHandle SVGF_CALL BitmapInfo(HostHandle bitmap) {
    g_bitmaps.infoAsked.push_back(bitmap);
    return g_bitmaps.infoAnswer;
}
const void* SVGF_CALL Describe(HostHandle info) {
    return g_bitmaps.describe && info == kInfo ? &g_bitmaps.sourceType : nullptr;
}
int32_t SVGF_CALL RunSub(FilterContext* sub) {
    const auto* block = static_cast<const uint8_t*>(sub->exchangeBlock);
    g_bitmaps.runs.push_back(RunRecord{*sub, sub->fileName ? sub->fileName : "",
                                       block[kExchangePalettedOffset], block[kExchangeMarkOffset], block[5]});
    const size_t n = g_bitmaps.runs.size() - 1;
    const int32_t answer = n < g_bitmaps.runAnswers.size() ? g_bitmaps.runAnswers[n] : 0;
    if (answer != 0 && (sub->flags & kFlagRenderRun) != 0) sub->hostHandle = kCanvas;
    if (answer != 0 && (sub->flags & kFlagWriteRun) != 0 && g_bitmaps.disk != nullptr)
        g_bitmaps.disk->CreateNamed(sub->fileName)->Write("new pixels");
    return answer;
}
int32_t SVGF_CALL EndSub(FilterContext* sub) {
    g_bitmaps.ended.push_back(sub);
    return 1;
}
int32_t SVGF_CALL Step90(HostHandle handle, uint32_t) {
    g_bitmaps.steps.push_back("90:" + std::to_string(handle));
    return 1;
}
int32_t SVGF_CALL Step84(HostHandle handle, uintptr_t a1, HostHandle bitmap, uintptr_t a3,
                         const HostRect* box, const HostMatrix*, const HostRect* box2, const HostRect* box3,
                         uint32_t) {
    g_bitmaps.steps.push_back("84:" + std::to_string(handle) + "," + std::to_string(a1) + "," +
                              std::to_string(bitmap) + "," + std::to_string(a3) + "," +
                              std::to_string(box->right) + "," + std::to_string(box2->right) + "," +
                              std::to_string(box3->right));
    return 1;
}
int32_t SVGF_CALL Step94(HostHandle handle) {
    g_bitmaps.steps.push_back("94:" + std::to_string(handle));
    return 1;
}

template <typename Fn>
HostServiceFn Raw(Fn fn) {
    return reinterpret_cast<HostServiceFn>(fn);
}

// Precision 1000 on a one-inch page: 1000 user units to the inch.
class BitmapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_bitmaps = BitmapServices{};
        FilterContext& context = host_.Context();
        context.fileName = fileName_.data();
        context.fileHandle = kOutputDescriptor;
        context.pageRect = HostRect{0, 254000, 254000, 0};
        context.hostValue = 0x260;
        static_cast<uint8_t*>(context.exchangeBlock)[5] = 0x5A;
        options_ = SVGExportOptions{1, 0, 0, kBitmapPng, 1000, kCssInternal, &context};
        context.exportOptions = &options_;
        host::ServiceRegistry& services = host_.Services();
        services.Set(svc::kBitmapInfo, "BitmapInfo", Raw(&BitmapInfo));
        services.Set(svc::kBitmapDescription, "BitmapDescription", Raw(&Describe));
        services.Set(svc::kRunSubFilter, "RunSubFilter", Raw(&RunSub));
        services.Set(svc::kEndSubContext, "EndSubContext", Raw(&EndSub));
    }
    void TearDown() override {
        host_.Context().fileName = nullptr;
        host_.Context().fileHandle = 0;
    }

    template <typename F>
    void WithExport(F&& body) {
        host_.Report([&] {
            SVGExp exp(files_, &settings_);
            ASSERT_EQ(exp.BeginExport(&host_.Context()), 1);
            body(exp);
            exp.EndExport(&host_.Context());
        });
    }
    std::string Output() const { return files_.DescriptorContent(kOutputDescriptor); }

    int32_t Draw(SVGExp& exp, const HostRect& a, const HostRect& b, const HostMatrix& m = kIdentity) {
        return exp.DrawBitmap(11, kBitmap, 33, &a, &m, &b, 0, 0);
    }

    static constexpr HostMatrix kIdentity{{1, 0, 0, 0, 1, 0}};
    host::StandInHost host_{nullptr};
    platform::ScriptedFiles files_;
    platform::MemorySettingsStore settings_;
    std::string fileName_ = "/out/picture.svg";
    SVGExportOptions options_{};
};

TEST(ImageFileNames, FolderFileAndReferenceFollowTheDocument) {
    const ImageFileNames png = ImageFileNamesFor("/out/picture.svg", 1, kBitmapPng);
    EXPECT_EQ(png.folder, "/out/picture_Images/");
    EXPECT_EQ(png.fileName, "picture_ImgID1.png");
    EXPECT_EQ(png.fullPath, "/out/picture_Images/picture_ImgID1.png");
    EXPECT_EQ(png.reference, "picture_Images/picture_ImgID1.png");
    EXPECT_EQ(ImageFileNamesFor("/out/picture.svg", 12, kBitmapJpeg).fileName, "picture_ImgID12.jpg");
    EXPECT_EQ(ImageFileNamesFor("/out/picture.svg", 2, kBitmapGif).fileName, "picture_ImgID2.gif");
    EXPECT_EQ(ImageFileNamesFor("/out/picture.svg", 2, 7).fileName, "picture_ImgID2");
    // No folder: the current one. No extension: the whole name is the base.
    const ImageFileNames bare = ImageFileNamesFor("drawing", 3, kBitmapPng);
    EXPECT_EQ(bare.folder, "drawing_Images/");
    EXPECT_EQ(bare.fullPath, "drawing_Images/drawing_ImgID3.png");
    EXPECT_EQ(ImageFileNamesFor("/a.b/drawing", 1, kBitmapPng).folder, "/a.b/drawing_Images/");
    EXPECT_EQ(ImageFileNamesFor("/out/.svg", 1, kBitmapPng).folder, "/out/.svg_Images/");
    EXPECT_EQ(ImageFileNamesFor("/out/my.draw.svg", 1, kBitmapPng).fileName, "my.draw_ImgID1.png");
}

TEST(BitmapFileFormat, DepthAndPaletteFollowTheOptionAndTheSource) {
    struct Case {
        uint32_t option, source, bits, paletted, code;
    };
    const Case cases[] = {
        {kBitmapJpeg, 1, 24, 0, kFormatJpeg}, {kBitmapJpeg, 3, 32, 0, kFormatJpeg},
        {kBitmapJpeg, 5, 8, 1, kFormatJpeg},  {kBitmapJpeg, 6, 8, 1, kFormatJpeg},
        {kBitmapJpeg, 9, 8, 0, kFormatJpeg},  {kBitmapJpeg, 11, 24, 0, kFormatJpeg},
        {kBitmapJpeg, 0, 8, 0, kFormatJpeg},  {kBitmapGif, 1, 8, 0, kFormatGif},
        {kBitmapGif, 3, 8, 0, kFormatGif},    {kBitmapGif, 5, 8, 1, kFormatGif},
        {kBitmapGif, 6, 1, 1, kFormatGif},    {kBitmapGif, 9, 4, 0, kFormatGif},
        {kBitmapGif, 11, 8, 0, kFormatGif},   {kBitmapGif, 2, 8, 0, kFormatGif},
        {kBitmapPng, 1, 24, 0, kFormatPng},   {kBitmapPng, 3, 24, 0, kFormatPng},
        {kBitmapPng, 5, 8, 1, kFormatPng},    {kBitmapPng, 6, 1, 1, kFormatPng},
        {kBitmapPng, 9, 4, 0, kFormatPng},    {kBitmapPng, 11, 24, 0, kFormatPng},
        {kBitmapPng, 77, 8, 0, kFormatPng},
    };
    for (const Case& c : cases) {
        const auto format = BitmapFileFormatFor(c.option, c.source);
        ASSERT_TRUE(format.has_value());
        EXPECT_EQ(format->bitsPerPixel, c.bits) << c.option << "/" << c.source;
        EXPECT_EQ(format->paletted, c.paletted) << c.option << "/" << c.source;
        EXPECT_EQ(format->formatCode, c.code) << c.option << "/" << c.source;
    }
    EXPECT_FALSE(BitmapFileFormatFor(3, 1).has_value());
}

TEST(BitmapFileFormat, PixelSizesAt72DotsPerInchCountBothEnds) {
    EXPECT_EQ(PixelsAt72Dpi(0, 254000), 72u);
    EXPECT_EQ(PixelsAt72Dpi(254000, 0), 72u);
    EXPECT_EQ(PixelsAt72Dpi(0, 3527), 1u);
    EXPECT_EQ(PixelsAt72Dpi(0, 3526), 0u);
    // A width near the coordinate range does not overflow.
    EXPECT_EQ(PixelsAt72Dpi(-2000000000, 2000000000), 1133858u);
}

TEST_F(BitmapTest, TwoRunsOverASubContextWriteTheImageAndTheElementRefersToIt) {
    WithExport([&](SVGExp& exp) {
        const HostRect box{0, 254000, 127000, 127000};
        EXPECT_EQ(Draw(exp, box, box), kDone);
    });
    ASSERT_EQ(g_bitmaps.runs.size(), 2u);
    EXPECT_EQ(g_bitmaps.infoAsked, std::vector<HostHandle>{kBitmap});
    const FilterContext& render = g_bitmaps.runs[0].context;
    const FilterContext& write = g_bitmaps.runs[1].context;
    EXPECT_EQ(render.flags, 0x2004u);
    EXPECT_EQ(write.flags, 0x4004u);
    for (const RunRecord& run : g_bitmaps.runs) {
        const FilterContext& s = run.context;
        EXPECT_EQ(s.size, 748u);
        EXPECT_EQ(s.subWord12, 1u);
        EXPECT_EQ(s.subWord16, 1u);
        EXPECT_EQ(s.pixelWidth, 36u);
        EXPECT_EQ(s.pixelHeight, 36u);
        EXPECT_EQ(s.bitsPerPixel, 24u);
        EXPECT_EQ(s.resolutionX, 2834645u);
        EXPECT_EQ(s.resolutionY, 2834645u);
        EXPECT_EQ(run.fileName, "/out/picture_Images/picture_ImgID1.png");
        EXPECT_EQ(s.pageRect.right, 127000);
        EXPECT_EQ(s.pageRect.top, 254000);
        EXPECT_EQ(s.formatCode, kFormatPng);
        EXPECT_EQ(s.subWord180, 1u);
        EXPECT_EQ(s.callbackSet, host_.Context().callbackSet);
        EXPECT_EQ(s.hostValue, 0x260u);
        EXPECT_EQ(s.services, host_.Context().services);
        EXPECT_NE(s.exchangeBlock, host_.Context().exchangeBlock);
        EXPECT_EQ(run.paletted, 0);
        EXPECT_EQ(run.mark, 1);
        EXPECT_EQ(run.hostByte, 0x5A);  // the host's block is copied
    }
    EXPECT_EQ(write.hostHandle, kCanvas);
    EXPECT_EQ(g_bitmaps.ended.size(), 1u);
    EXPECT_TRUE(files_.FolderExists("/out/picture_Images/"));
    EXPECT_TRUE(g_bitmaps.steps.empty());
    const std::string out = Output();
    EXPECT_NE(out.find("<image x=\"0\" y=\"0\" width=\"500\" height=\"500\" "
                       "xlink:href=\"picture_Images/picture_ImgID1.png\"/>"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("clipPath"), std::string::npos);
}

TEST_F(BitmapTest, APalettedSourceAsJpegIsEightBitsWithThePaletteFlag) {
    options_.bitmapType = kBitmapJpeg;
    g_bitmaps.sourceType = kSourcePaletted;
    WithExport([&](SVGExp& exp) {
        const HostRect box{0, 254000, 254000, 0};
        EXPECT_EQ(Draw(exp, box, box), kDone);
    });
    ASSERT_EQ(g_bitmaps.runs.size(), 2u);
    EXPECT_EQ(g_bitmaps.runs[0].context.bitsPerPixel, 8u);
    EXPECT_EQ(g_bitmaps.runs[0].paletted, 1);
    EXPECT_EQ(g_bitmaps.runs[0].context.formatCode, kFormatJpeg);
    EXPECT_EQ(g_bitmaps.runs[0].context.pixelWidth, 72u);
    EXPECT_EQ(g_bitmaps.runs[0].fileName, "/out/picture_Images/picture_ImgID1.jpg");
}

TEST_F(BitmapTest, ARefusedFirstRunGivesFailureNoElementAndTheNextImageTakesTheNextNumber) {
    g_bitmaps.runAnswers = {0, 1, 1};
    WithExport([&](SVGExp& exp) {
        const HostRect box{0, 254000, 127000, 127000};
        EXPECT_EQ(Draw(exp, box, box), kFailed);
        EXPECT_TRUE(g_bitmaps.ended.empty());
        EXPECT_EQ(Draw(exp, box, box), kDone);
    });
    ASSERT_EQ(g_bitmaps.runs.size(), 3u);
    EXPECT_EQ(g_bitmaps.runs[2].fileName, "/out/picture_Images/picture_ImgID2.png");
    const std::string out = Output();
    EXPECT_EQ(out.find("ImgID1"), std::string::npos) << out;
    EXPECT_NE(out.find("picture_ImgID2.png"), std::string::npos) << out;
}

TEST_F(BitmapTest, AfterAGoodFirstRunTheSubContextIsAlwaysEnded) {
    struct Case {
        const char* name;
        std::vector<int32_t> answers;
        bool failFolder;
    };
    const Case cases[] = {{"second run refused", {1, 0}, false}, {"folder cannot be made", {1, 1}, true}};
    for (const Case& c : cases) {
        g_bitmaps = BitmapServices{};
        g_bitmaps.runAnswers = c.answers;
        files_.FailFolders(c.failFolder);
        WithExport([&](SVGExp& exp) {
            const HostRect box{0, 254000, 127000, 127000};
            EXPECT_EQ(Draw(exp, box, box), kFailed) << c.name;
        });
        EXPECT_EQ(g_bitmaps.ended.size(), 1u) << c.name;
        EXPECT_EQ(g_bitmaps.runs.size(), c.failFolder ? 1u : 2u) << c.name;
        EXPECT_EQ(Output().find("<image"), std::string::npos) << c.name;
    }
}

// A failed export takes back the image files it wrote and the folder it
// made; a file that was there before keeps its pixels. A whole export
// leaves its files and nothing else.
TEST_F(BitmapTest, AFailedExportLeavesTheImagesFolderAsItWas) {
    const char kEarlier[] = "/out/picture_Images/picture_ImgID1.png";
    const char kNew[] = "/out/picture_Images/picture_ImgID2.png";
    g_bitmaps.disk = &files_;
    g_bitmaps.runAnswers = {1, 1, 1, 1};
    const HostRect box{0, 254000, 254000, 0};
    for (const bool folderExisted : {true, false}) {
        for (const bool fail : {true, false}) {
            SCOPED_TRACE(std::string(folderExisted ? "folder there" : "no folder") + (fail ? ", failed" : ""));
            files_ = platform::ScriptedFiles();
            g_bitmaps.runs.clear();
            if (folderExisted) {
                files_.CreateFolder("/out/picture_Images/");
                files_.CreateNamed(kEarlier)->Write("earlier pixels");
            }
            host_.Context().errorCode = 0;
            host_.Context().exportOptions = &options_;
            WithExport([&](SVGExp& exp) {
                EXPECT_EQ(Draw(exp, box, box), kDone);
                EXPECT_EQ(Draw(exp, box, box), kDone);
                if (fail) host_.Context().errorCode = 5;
            });
            std::vector<std::string> expected;
            if (!fail) {
                expected = {kEarlier, kNew};
            } else if (folderExisted) {
                expected = {kEarlier};
            }
            EXPECT_EQ(files_.NamedPaths(), expected);
            if (folderExisted || !fail) {
                EXPECT_EQ(files_.NamedContent(kEarlier), fail ? "earlier pixels" : "new pixels");
            }
            EXPECT_EQ(files_.FolderExists("/out/picture_Images/"), folderExisted || !fail);
        }
    }
    host_.Context().errorCode = 0;
}

TEST_F(BitmapTest, AMissingDescriptionOrServiceFailsBeforeAnyRun) {
    struct Case {
        const char* name;
        HostHandle info;
        bool describe;
        size_t removed;
    };
    const Case cases[] = {{"no information handle", 0, true, 0},
                          {"no description", kInfo, false, 0},
                          {"no run service", kInfo, true, svc::kRunSubFilter},
                          {"no information service", kInfo, true, svc::kBitmapInfo}};
    for (const Case& c : cases) {
        SetUp();
        g_bitmaps.infoAnswer = c.info;
        g_bitmaps.describe = c.describe;
        if (c.removed != 0) host_.Services().Remove(c.removed);
        WithExport([&](SVGExp& exp) {
            const HostRect box{0, 254000, 127000, 127000};
            EXPECT_EQ(Draw(exp, box, box), kFailed) << c.name;
            EXPECT_EQ(exp.NextImageNumber(), 2u) << c.name;
        });
        EXPECT_TRUE(g_bitmaps.runs.empty()) << c.name;
        EXPECT_TRUE(g_bitmaps.ended.empty()) << c.name;
    }
}

TEST_F(BitmapTest, WithoutAnExchangeBlockThePrivateCopyIsZeroFilled) {
    host_.Context().exchangeBlock = nullptr;
    WithExport([&](SVGExp& exp) {
        const HostRect box{0, 254000, 127000, 127000};
        EXPECT_EQ(Draw(exp, box, box), kDone);
    });
    ASSERT_EQ(g_bitmaps.runs.size(), 2u);
    EXPECT_EQ(g_bitmaps.runs[0].hostByte, 0);
    EXPECT_EQ(g_bitmaps.runs[0].mark, 1);
}

TEST_F(BitmapTest, OfferedRenderStepsRunBetweenTheTwoRuns) {
    host::ServiceRegistry& services = host_.Services();
    services.Set(svc::kRenderStep90, "Step90", Raw(&Step90));
    services.Set(svc::kRenderStep84, "Step84", Raw(&Step84));
    services.Set(svc::kRenderStep94, "Step94", Raw(&Step94));
    WithExport([&](SVGExp& exp) {
        const HostRect box{0, 254000, 127000, 127000};
        EXPECT_EQ(Draw(exp, box, box), kDone);
    });
    const std::string canvas = std::to_string(kCanvas);
    EXPECT_EQ(g_bitmaps.steps, (std::vector<std::string>{"90:" + canvas,
                                                         "84:" + canvas + ",11," + std::to_string(kBitmap) +
                                                             ",33,127000,127000,127000",
                                                         "94:" + canvas}));
}

TEST_F(BitmapTest, ACroppedBitmapGetsAClipPathAndAMovedMatrix) {
    WithExport([&](SVGExp& exp) {
        const HostRect a{0, 254000, 127000, 127000};
        const HostRect b{0, 254000, 63500, 127000};
        const HostMatrix shift{{1, 0, 25400, 0, 1, 0}};
        EXPECT_EQ(Draw(exp, a, b, shift), kDone);
    });
    const std::string out = Output();
    EXPECT_NE(out.find("<clipPath id=\"id0\">"), std::string::npos) << out;
    EXPECT_NE(
        out.find("<rect transform=\"matrix(1 0 0 1 100 0)\" x=\"0\" y=\"0\" width=\"250\" height=\"500\"/>"),
        std::string::npos)
        << out;
    EXPECT_NE(
        out.find("<image style=\"clip-path:url(#id0)\" transform=\"matrix(1 0 0 1 100 0)\" x=\"0\" y=\"0\" "
                 "width=\"500\" height=\"500\""),
        std::string::npos)
        << out;
}

TEST_F(BitmapTest, AnEqualVisibleBoxWithAnIdentityMatrixWritesNoTransform) {
    g_bitmaps.runAnswers = {1, 1, 1, 1};
    WithExport([&](SVGExp& exp) {
        const HostRect box{25400, 254000, 127000, 127000};
        EXPECT_EQ(Draw(exp, box, box), kDone);
        const HostMatrix half{{0.5, 0, 0, 0, 0.5, 0}};
        EXPECT_EQ(Draw(exp, box, box, half), kDone);
    });
    const std::string out = Output();
    EXPECT_NE(out.find("<image x=\"100\" y=\"0\" width=\"400\" height=\"500\" xlink:href"), std::string::npos)
        << out;
    EXPECT_NE(out.find("<image transform=\"matrix(0.5 0 0 0.5 0 500)\""), std::string::npos) << out;
}

TEST_F(BitmapTest, FileNamesAndReferencesAreEscapedInTheDocument) {
    fileName_ = "/out/a&b.svg";
    host_.Context().fileName = fileName_.data();
    WithExport([&](SVGExp& exp) {
        const HostRect box{0, 254000, 127000, 127000};
        EXPECT_EQ(Draw(exp, box, box), kDone);
    });
    ASSERT_FALSE(g_bitmaps.runs.empty());
    EXPECT_EQ(g_bitmaps.runs[0].fileName, "/out/a&b_Images/a&b_ImgID1.png");
    EXPECT_NE(Output().find("xlink:href=\"a&amp;b_Images/a&amp;b_ImgID1.png\""), std::string::npos)
        << Output();
}

}  // namespace
}  // namespace svgf
