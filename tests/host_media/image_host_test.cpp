// The host's bitmap services and the two filter runs over a sub-context,
// driven through a service table the way the module drives them.
#include "host/media/image_host.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <functional>

#include "host/media/resample.h"
#include "host/service_registry.h"
#include "media_fixtures.h"

namespace {

using host::media::BitmapDescription;
using host::media::DecodeImageFile;
using host::media::Image;
using host::media::ImageFormat;
using host::media::ImageHost;
using host::media::RegisterImageServices;
using svgf::HostHandle;
using namespace media_test;
namespace svc = svgf::svc;

// Bitmap files of every source kind the host reports.
struct SourceKind {
    const char* file;
    uint32_t sourceType;
    Image (*make)(uint32_t, uint32_t);
    ImageFormat format;
    uint32_t bits;
};

Image GreyGradient(uint32_t w, uint32_t h) {
    Image image = Gradient(w, h);
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
        image.rgba[i] = image.rgba[i + 1] = image.rgba[i + 2] =
            host::media::Luma(image.rgba[i], image.rgba[i + 1], image.rgba[i + 2]);
    }
    return image;
}

const SourceKind kSources[] = {
    {"rgb.png", svgf::kSourceRgb, Gradient, ImageFormat::kPng, 24},
    {"grey.jpg", svgf::kSourceGrey, GreyGradient, ImageFormat::kJpeg, 8},
    {"cmyk.jpg", svgf::kSourceCmyk, Gradient, ImageFormat::kJpeg, 32},
    {"paletted.gif", svgf::kSourcePaletted, Quarters, ImageFormat::kGif, 8},
    {"bilevel.png", svgf::kSourceBilevel, Checker, ImageFormat::kPng, 1},
    {"grey4.png", svgf::kSourceGrey4, GreySteps, ImageFormat::kPng, 4},
    {"rgba.png", svgf::kSourceRgba, WithAlpha, ImageFormat::kPng, 32},
};

// What the module asks for, by its bitmap type option and the source type.
struct Depth {
    uint32_t bits;
    bool paletted;
};

Depth DepthFor(uint32_t bitmapType, uint32_t source) {
    static const std::array<std::array<Depth, 7>, 3> table = {{
        {{{24, false}, {32, false}, {8, true}, {8, true}, {8, false}, {24, false}, {8, false}}},
        {{{8, false}, {8, false}, {8, true}, {1, true}, {4, false}, {8, false}, {8, false}}},
        {{{24, false}, {24, false}, {8, true}, {1, true}, {4, false}, {24, false}, {8, false}}},
    }};
    const uint32_t columns[6] = {1, 3, 5, 6, 9, 11};
    size_t column = 6;
    for (size_t i = 0; i < 6; ++i) {
        if (columns[i] == source) column = i;
    }
    return table[bitmapType][column];
}

constexpr uint32_t kFormatCodes[3] = {svgf::kFormatJpeg, svgf::kFormatGif, svgf::kFormatPng};
constexpr const char* kExtensions[3] = {".jpg", ".gif", ".png"};

// Box A of one inch by half an inch: 72 x 36 pixels at 72 dpi.
constexpr svgf::HostRect kBoxA = {1000, 128000, 255000, 1000};

uint32_t Pixels(int32_t a, int32_t b) {
    return static_cast<uint32_t>((std::abs(int64_t{b} - a) + 1) * 72 / 254000);
}

// The host's side: an image host with its entries in a service table,
// and the main context whose exchange block the module copies.
class ImageHostTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(folder_.path().empty());
        std::filesystem::create_directory(folder_ / "fixtures");
        std::filesystem::create_directory(folder_ / "picture_Images");
        Register();
    }

    void Register() {
        table_ = {};
        RegisterImageServices(images_,
                              [this](size_t index, svgf::HostServiceFn fn) { table_.slot[index] = fn; });
    }

    template <typename Fn>
    Fn Service(size_t index) {
        return svgf::service<Fn>(&table_, index);
    }

    HostHandle Open(const SourceKind& kind) {
        const std::string path = WriteFixture(folder_, "fixtures/" + std::string(kind.file),
                                              kind.make(40, 30), kind.format, kind.bits);
        const HostHandle bitmap = images_.OpenBitmap(path);
        EXPECT_NE(bitmap, 0u) << images_.lastError();
        return bitmap;
    }

    // The sub-context as the module builds it for one bitmap.
    void BuildSubContext(HostHandle bitmap, uint32_t bitmapType, uint32_t number) {
        host::media::SetExchangeSource(parentBlock_.data(), bitmap);
        path_ = folder_ / ("picture_Images/picture_ImgID" + std::to_string(number) + kExtensions[bitmapType]);
        block_ = parentBlock_;
        sub_ = svgf::FilterContext{};
        sub_.size = svgf::kContextSize;
        sub_.subWord12 = sub_.subWord16 = 1;
        sub_.pixelWidth = Pixels(kBoxA.left, kBoxA.right);
        sub_.pixelHeight = Pixels(kBoxA.top, kBoxA.bottom);
        sub_.resolutionX = sub_.resolutionY = svgf::kSubContextResolution;
        sub_.fileName = path_.data();
        sub_.pageRect = kBoxA;
        sub_.subWord180 = 1;
        sub_.exchangeBlock = block_.data();
        sub_.services = &table_;

        const HostHandle info = Service<svc::BitmapInfoFn>(svc::kBitmapInfo)(bitmap);
        ASSERT_NE(info, 0u);
        const void* description = Service<svc::BitmapDescriptionFn>(svc::kBitmapDescription)(info);
        ASSERT_NE(description, nullptr);
        uint32_t source = 0;
        std::memcpy(&source, description, 4);
        const Depth depth = DepthFor(bitmapType, source);
        sub_.bitsPerPixel = depth.bits;
        sub_.formatCode = kFormatCodes[bitmapType];
        block_[svgf::kExchangePalettedOffset] = depth.paletted;
        block_[svgf::kExchangeMarkOffset] = 1;
    }

    int32_t Run(uint32_t flags) {
        sub_.flags = flags;
        return Service<svc::RunSubFilterFn>(svc::kRunSubFilter)(&sub_);
    }
    int32_t End() { return Service<svc::EndSubContextFn>(svc::kEndSubContext)(&sub_); }

    std::set<std::string> Written() const {
        std::set<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(folder_ / "picture_Images")) {
            names.insert(e.path().filename().string());
        }
        return names;
    }

    TempFolder folder_;
    ImageHost images_;
    svgf::HostServiceTable table_{};
    std::array<uint8_t, svgf::kExchangeBlockSize> parentBlock_{};
    std::array<uint8_t, svgf::kExchangeBlockSize> block_{};
    svgf::FilterContext sub_{};
    std::string path_;
};

TEST_F(ImageHostTest, RegistersTheBitmapServicesAndLeavesRenderStepsUnset) {
    for (size_t index :
         {svc::kRunSubFilter, svc::kEndSubContext, svc::kBitmapInfo, svc::kBitmapDescription}) {
        EXPECT_NE(table_.slot[index], nullptr) << index;
    }
    for (size_t index : {svc::kRenderStep84, svc::kRenderStep90, svc::kRenderStep94}) {
        EXPECT_EQ(table_.slot[index], nullptr) << index;
    }
    images_.setRenderSteps(true);
    Register();
    for (size_t index : {svc::kRenderStep84, svc::kRenderStep90, svc::kRenderStep94}) {
        EXPECT_NE(table_.slot[index], nullptr) << index;
    }
}

TEST_F(ImageHostTest, DescribesEachBitmapByItsSourceType) {
    for (const SourceKind& kind : kSources) {
        const HostHandle bitmap = Open(kind);
        const HostHandle info = Service<svc::BitmapInfoFn>(svc::kBitmapInfo)(bitmap);
        ASSERT_NE(info, 0u) << kind.file;
        const auto* description = static_cast<const BitmapDescription*>(
            Service<svc::BitmapDescriptionFn>(svc::kBitmapDescription)(info));
        ASSERT_NE(description, nullptr) << kind.file;
        EXPECT_EQ(description->sourceType, kind.sourceType) << kind.file;
        EXPECT_EQ(description->width, 40u);
        EXPECT_EQ(description->height, 30u);
        EXPECT_EQ(description->paletteSize != 0, kind.sourceType == svgf::kSourcePaletted) << kind.file;
    }
}

TEST_F(ImageHostTest, DecodesEachFileOnceAndRefusesUnknownHandles) {
    const HostHandle bitmap = Open(kSources[0]);
    EXPECT_EQ(images_.OpenBitmap(folder_ / "fixtures/../fixtures/rgb.png"), bitmap);
    EXPECT_EQ(images_.OpenBitmap(folder_ / "fixtures/nothing.png"), 0u);
    EXPECT_NE(images_.lastError().find("nothing.png"), std::string::npos) << images_.lastError();

    auto info = Service<svc::BitmapInfoFn>(svc::kBitmapInfo);
    auto describe = Service<svc::BitmapDescriptionFn>(svc::kBitmapDescription);
    EXPECT_EQ(info(0), 0u);
    EXPECT_EQ(info(bitmap + 1), 0u);
    EXPECT_EQ(describe(0), nullptr);
    EXPECT_EQ(describe(bitmap), nullptr);  // a bitmap handle is not an information handle
    EXPECT_EQ(info(info(bitmap)), 0u);
    const HostHandle handle = info(bitmap);
    images_.CloseBitmap(bitmap);
    EXPECT_EQ(info(bitmap), 0u);
    EXPECT_EQ(describe(handle), nullptr);
}

// Every source kind in every format: the render run makes the canvas, the
// write run writes a file that decodes at the asked size and depth, and the
// end of the sub-context lets the canvas go.
class TwoRuns : public ImageHostTest, public testing::WithParamInterface<std::tuple<size_t, uint32_t>> {};

TEST_P(TwoRuns, WriteTheAskedFile) {
    const auto [sourceIndex, bitmapType] = GetParam();
    const SourceKind& kind = kSources[sourceIndex];
    const HostHandle bitmap = Open(kind);
    BuildSubContext(bitmap, bitmapType, 7);
    ASSERT_EQ(sub_.pixelWidth, 72u);
    ASSERT_EQ(sub_.pixelHeight, 36u);

    ASSERT_EQ(Run(svgf::kSubContextRenderFlags), 1) << images_.lastError();
    EXPECT_NE(sub_.hostHandle, 0u);
    EXPECT_TRUE(Written().empty());
    ASSERT_EQ(Run(svgf::kSubContextWriteFlags), 1) << images_.lastError();
    EXPECT_EQ(End(), 1);
    EXPECT_EQ(sub_.hostHandle, 0u);
    EXPECT_EQ(images_.openCanvases(), 0u);
    EXPECT_EQ(Written(), std::set<std::string>{std::filesystem::path(path_).filename().string()});

    Image written;
    const host::media::Status status = DecodeImageFile(path_, written);
    ASSERT_TRUE(status) << status.message();
    EXPECT_EQ(written.width, 72u);
    EXPECT_EQ(written.height, 36u);
    const Depth depth = DepthFor(bitmapType, kind.sourceType);
    if (bitmapType != 0 && depth.bits <= 8) {
        EXPECT_LE(Colours(written).size(), size_t{1} << depth.bits);
    }
    if (bitmapType == 0 && depth.bits == 8 && !depth.paletted) {
        EXPECT_EQ(written.sourceType, svgf::kSourceGrey);
    }
    if (bitmapType == 0 && depth.bits == 32) {
        EXPECT_EQ(written.sourceType, svgf::kSourceCmyk);
    }

    // The picture is the bitmap at the new size, give or take the depth.
    Image expected;
    ASSERT_TRUE(host::media::Resample(*images_.Bitmap(bitmap), 72, 36, expected));
    if (depth.bits == 8 && !depth.paletted && bitmapType != 1) {
        expected = [&] {
            Image grey = expected;
            for (size_t i = 0; i < grey.rgba.size(); i += 4) {
                const auto c = host::media::OverWhite(&grey.rgba[i]);
                grey.rgba[i] = grey.rgba[i + 1] = grey.rgba[i + 2] = host::media::Luma(c.r, c.g, c.b);
                grey.rgba[i + 3] = 255;
            }
            return grey;
        }();
    }
    const double tolerance = depth.bits >= 24 ? 4 : depth.bits == 8 ? 5 : depth.bits == 4 ? 8 : 50;
    EXPECT_LE(MeanError(written, expected), tolerance);
}

INSTANTIATE_TEST_SUITE_P(SourcesAndFormats, TwoRuns,
                         testing::Combine(testing::Range<size_t>(0, std::size(kSources)),
                                          testing::Values(0u, 1u, 2u)),
                         [](const testing::TestParamInfo<TwoRuns::ParamType>& info) {
                             std::string name = kSources[std::get<0>(info.param)].file;
                             for (char& c : name) {
                                 if (c == '.') c = '_';
                             }
                             return name + "_as_" + &kExtensions[std::get<1>(info.param)][1];
                         });

// A broken sub-context fails the run it reaches, with a reason, and leaves
// neither a file nor a canvas behind once the sub-context is ended.
struct BadSubContext {
    const char* name;
    bool beforeWrite;  // spoil it after the render run instead of before
    std::function<void(svgf::FilterContext&, std::array<uint8_t, svgf::kExchangeBlockSize>&)> spoil;
};

void PrintTo(const BadSubContext& c, std::ostream* os) {
    *os << c.name;
}

const BadSubContext kBad[] = {
    {"size", false, [](auto& s, auto&) { s.size = 724; }},
    {"no_run_flag", false, [](auto& s, auto&) { s.flags = svgf::kFlagNoUserInterface; }},
    {"both_run_flags", false, [](auto& s, auto&) { s.flags = 0x6004; }},
    {"format_code", false, [](auto& s, auto&) { s.formatCode = 0x307; }},
    {"depth_for_format", false, [](auto& s, auto&) { s.bitsPerPixel = 24, s.formatCode = svgf::kFormatGif; }},
    {"zero_width", false, [](auto& s, auto&) { s.pixelWidth = 0; }},
    {"huge_size", false, [](auto& s, auto&) { s.pixelWidth = s.pixelHeight = 40000; }},
    {"no_exchange_block", false, [](auto& s, auto&) { s.exchangeBlock = nullptr; }},
    {"no_source", false, [](auto&, auto& b) { host::media::SetExchangeSource(b.data(), 0); }},
    {"unknown_source", false, [](auto&, auto& b) { host::media::SetExchangeSource(b.data(), 0x01000999); }},
    {"handle_already_set", false, [](auto& s, auto&) { s.hostHandle = 0x03000001; }},
    {"no_file_name", true, [](auto& s, auto&) { s.fileName = nullptr; }},
    {"empty_file_name", true, [](auto& s, auto&) { s.fileName = const_cast<char*>(""); }},
    {"missing_folder", true,
     [](auto& s, auto&) { std::filesystem::remove_all(std::filesystem::path(s.fileName).parent_path()); }},
    {"unknown_canvas", true, [](auto& s, auto&) { s.hostHandle ^= 0x40; }},
    {"depth_changed", true, [](auto& s, auto&) { s.bitsPerPixel = 16; }},
    {"pixel_size_changed", true, [](auto& s, auto&) { s.pixelHeight = 0; }},
};

class BadSubContexts : public ImageHostTest, public testing::WithParamInterface<BadSubContext> {};

TEST_P(BadSubContexts, FailWithoutLeavingAFile) {
    const BadSubContext& bad = GetParam();
    BuildSubContext(Open(kSources[0]), 2, 1);
    if (!bad.beforeWrite) {
        bad.spoil(sub_, block_);
        const uint32_t flags = sub_.flags;
        sub_.flags = flags ? flags : svgf::kSubContextRenderFlags;
        const HostHandle before = sub_.hostHandle;
        EXPECT_EQ(Service<svc::RunSubFilterFn>(svc::kRunSubFilter)(&sub_), 0);
        EXPECT_EQ(sub_.hostHandle, before);
    } else {
        ASSERT_EQ(Run(svgf::kSubContextRenderFlags), 1) << images_.lastError();
        const HostHandle canvas = sub_.hostHandle;
        bad.spoil(sub_, block_);
        EXPECT_EQ(Run(svgf::kSubContextWriteFlags), 0);
        sub_.hostHandle = canvas;
        EXPECT_EQ(End(), 1);
    }
    EXPECT_FALSE(images_.lastError().empty());
    EXPECT_EQ(images_.openCanvases(), 0u);
    if (std::filesystem::exists(folder_ / "picture_Images")) {
        EXPECT_TRUE(Written().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, BadSubContexts, testing::ValuesIn(kBad),
                         [](const testing::TestParamInfo<BadSubContext>& info) { return info.param.name; });

TEST_F(ImageHostTest, WriteRunNeedsARenderRunAndEndNeedsACanvas) {
    BuildSubContext(Open(kSources[0]), 2, 1);
    EXPECT_EQ(Run(svgf::kSubContextWriteFlags), 0);
    EXPECT_NE(images_.lastError().find("render"), std::string::npos) << images_.lastError();
    EXPECT_EQ(End(), 0);
    EXPECT_EQ(Service<svc::RunSubFilterFn>(svc::kRunSubFilter)(nullptr), 0);
    EXPECT_EQ(Service<svc::EndSubContextFn>(svc::kEndSubContext)(nullptr), 0);
    EXPECT_TRUE(Written().empty());
}

TEST_F(ImageHostTest, SecondWriteReplacesTheFileWhole) {
    BuildSubContext(Open(kSources[3]), 1, 2);
    ASSERT_EQ(Run(svgf::kSubContextRenderFlags), 1);
    ASSERT_EQ(Run(svgf::kSubContextWriteFlags), 1);
    ASSERT_EQ(Run(svgf::kSubContextWriteFlags), 1);
    ASSERT_EQ(End(), 1);
    EXPECT_EQ(Written(), std::set<std::string>{"picture_ImgID2.gif"});
}

// With the render steps offered, the host may leave the exchange block
// empty and draw the bitmap between the runs.
TEST_F(ImageHostTest, RenderStepsDrawBetweenTheRuns) {
    images_.setRenderSteps(true);
    Register();
    const HostHandle bitmap = Open(kSources[3]);  // four coloured quarters
    BuildSubContext(bitmap, 2, 3);
    host::media::SetExchangeSource(block_.data(), 0);

    ASSERT_EQ(Run(svgf::kSubContextRenderFlags), 1) << images_.lastError();
    const HostHandle canvas = sub_.hostHandle;
    svgf::HostMatrix identity{{1, 0, 0, 0, 1, 0}};
    // The left half of box A only.
    svgf::HostRect left = kBoxA;
    left.right = (kBoxA.left + kBoxA.right) / 2;
    Service<svc::RenderStep90Fn>(svc::kRenderStep90)(canvas, 0);
    EXPECT_EQ(Service<svc::RenderStep84Fn>(svc::kRenderStep84)(canvas, 0, bitmap, 0, &left, &identity, &kBoxA,
                                                               &kBoxA, 0),
              1)
        << images_.lastError();
    svgf::HostMatrix rotated{{0, -1, 0, 1, 0, 0}};
    EXPECT_EQ(Service<svc::RenderStep84Fn>(svc::kRenderStep84)(canvas, 0, bitmap, 0, &kBoxA, &rotated, &kBoxA,
                                                               &kBoxA, 0),
              0);
    Service<svc::RenderStep94Fn>(svc::kRenderStep94)(canvas);
    ASSERT_EQ(Run(svgf::kSubContextWriteFlags), 1) << images_.lastError();
    ASSERT_EQ(End(), 1);

    Image written;
    ASSERT_TRUE(DecodeImageFile(path_, written));
    ASSERT_EQ(written.width, 72u);
    // Left half: the quarters squeezed; right half: nothing drawn, so white.
    const uint8_t* topLeft = written.pixel(8, 4);
    EXPECT_EQ(std::vector<uint8_t>(topLeft, topLeft + 3), (std::vector<uint8_t>{200, 30, 40}));
    const uint8_t* secondQuarter = written.pixel(27, 4);
    EXPECT_EQ(std::vector<uint8_t>(secondQuarter, secondQuarter + 3), (std::vector<uint8_t>{20, 160, 60}));
    const uint8_t* right = written.pixel(60, 20);
    EXPECT_EQ(std::vector<uint8_t>(right, right + 3), (std::vector<uint8_t>{255, 255, 255}));
}

TEST_F(ImageHostTest, RenderStepsWithNothingDrawnWriteNothing) {
    images_.setRenderSteps(true);
    Register();
    BuildSubContext(Open(kSources[0]), 2, 4);
    host::media::SetExchangeSource(block_.data(), 0);
    ASSERT_EQ(Run(svgf::kSubContextRenderFlags), 1);
    EXPECT_EQ(Run(svgf::kSubContextWriteFlags), 0);
    EXPECT_NE(images_.lastError().find("nothing was drawn"), std::string::npos) << images_.lastError();
    EXPECT_EQ(End(), 1);
    EXPECT_TRUE(Written().empty());
}

// The stand-in host's own registry can wrap the entries to record them.
TEST_F(ImageHostTest, EntriesWorkThroughTheHostsRecordingRegistry) {
    namespace entries = host::media::image_entries;
    host::ServiceRegistry registry;
    registry.Add<svc::kRunSubFilter, &entries::RunSubFilter>("RunSubFilter");
    registry.Add<svc::kEndSubContext, &entries::EndSubContext>("EndSubContext");
    registry.Add<svc::kBitmapInfo, &entries::BitmapInfo>("BitmapInfo");
    registry.Add<svc::kBitmapDescription, &entries::DescribeBitmap>("BitmapDescription");
    ImageHost other;
    host::media::ServeImages(other);
    table_ = {};
    registry.Fill(table_);
    const HostHandle bitmap =
        other.OpenBitmap(WriteFixture(folder_, "fixtures/q.gif", Quarters(8, 8), ImageFormat::kGif, 8));
    BuildSubContext(bitmap, 1, 5);
    ASSERT_EQ(Run(svgf::kSubContextRenderFlags), 1) << other.lastError();
    ASSERT_EQ(Run(svgf::kSubContextWriteFlags), 1) << other.lastError();
    EXPECT_EQ(End(), 1);
    EXPECT_EQ(Written(), std::set<std::string>{"picture_ImgID5.gif"});
}

TEST(ImageServices, AnswerNothingOnceTheirHostIsGone) {
    svgf::HostServiceTable table{};
    auto host = std::make_unique<ImageHost>();
    RegisterImageServices(*host, [&](size_t index, svgf::HostServiceFn fn) { table.slot[index] = fn; });
    host.reset();
    svgf::FilterContext sub{};
    sub.size = svgf::kContextSize;
    sub.flags = svgf::kSubContextRenderFlags;
    EXPECT_EQ(svgf::service<svc::RunSubFilterFn>(&table, svc::kRunSubFilter)(&sub), 0);
    EXPECT_EQ(svgf::service<svc::BitmapInfoFn>(&table, svc::kBitmapInfo)(0x01000001), 0u);
    EXPECT_EQ(svgf::service<svc::BitmapDescriptionFn>(&table, svc::kBitmapDescription)(0x02000001), nullptr);
}

}  // namespace
