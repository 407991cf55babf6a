// The exporter's lifecycle, queries and layers, with files and settings held
// in memory and a service table of test functions.
#include "svg_exp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/memory_settings_store.h"
#include "platform/scripted_files.h"
#include "svg_writer.h"

namespace svgf {
namespace {

constexpr int kOutputDescriptor = 7;

// What the test services saw; reset by each fixture.
struct ServiceLog {
    std::vector<HostHandle> released;
    std::vector<int32_t> informationCodes;
    std::vector<const HostMatrix*> identityQueries;
    int32_t identityAnswer = 1;
    std::vector<std::vector<uintptr_t>> callbacks;
};
ServiceLog g_log;

int32_t SVGF_CALL ReleaseHandle(HostHandle handle) {
    g_log.released.push_back(handle);
    return 1;
}
int32_t SVGF_CALL Information(int32_t code, void*, const void*) {
    g_log.informationCodes.push_back(code);
    return 77;
}
int32_t SVGF_CALL IsIdentity(const HostMatrix* m) {
    g_log.identityQueries.push_back(m);
    return g_log.identityAnswer;
}
int32_t SVGF_CALL FirstCallback(HostHandle handle, uintptr_t argument, uintptr_t user) {
    g_log.callbacks.push_back({1, handle, argument, user});
    return 55;
}
int32_t SVGF_CALL SecondCallback(HostHandle handle, uintptr_t argument, uintptr_t user) {
    g_log.callbacks.push_back({2, handle, argument, user});
    return 56;
}

class SVGExpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_log = ServiceLog{};
        table_.slot[svc::kReleaseHandle] = reinterpret_cast<HostServiceFn>(&ReleaseHandle);
        table_.slot[svc::kInformation] = reinterpret_cast<HostServiceFn>(&Information);
        table_.slot[svc::kMatrixIsIdentity] = reinterpret_cast<HostServiceFn>(&IsIdentity);
        set_ = HostCallbackSet{0, &FirstCallback, &SecondCallback, 0, 99};
        context_.size = kContextSize;
        context_.fileName = fileName_.data();
        context_.fileHandle = kOutputDescriptor;
        context_.hostHandle = 42;
        context_.pageRect = HostRect{0, 254000, 254000, 0};
        context_.services = &table_;
        context_.callbackSet = &set_;
        context_.colourHandle = 0xC0105;
        options_ = SVGExportOptions{1, 0, 0, 0, 1000, 0, &context_};
        context_.exportOptions = &options_;
    }

    std::string Output() const { return files_.DescriptorContent(kOutputDescriptor); }

    platform::ScriptedFiles files_;
    platform::MemorySettingsStore settings_;
    std::string fileName_ = "/out/drawing.svg";
    HostServiceTable table_{};
    HostCallbackSet set_{};
    SVGExportOptions options_{};
    FilterContext context_{};
};

TEST_F(SVGExpTest, BeginExportSetsScalePageAndCallbackRecord) {
    SVGExp exp(files_, &settings_);
    ASSERT_EQ(exp.BeginExport(&context_), 1);
    EXPECT_EQ(context_.callbackRecord, &exp.CallbackRecord());
    EXPECT_EQ(exp.CallbackRecord().object, static_cast<void*>(static_cast<CAbstractPI*>(&exp)));
    EXPECT_DOUBLE_EQ(exp.Scale(), 1000.0 / 254000.0);
    EXPECT_EQ(exp.YOrigin(), 1000);
    EXPECT_EQ(exp.HostTop(), 254000);
    EXPECT_EQ(exp.ToUserPoint({254000, 0}).x, 1000);
    EXPECT_EQ(exp.ToUserPoint({254000, 0}).y, 1000);
    EXPECT_EQ(exp.ToUserPoint({0, 254000}).y, 0);
    EXPECT_NE(Output().find("viewBox=\"0 0 1000 1000\""), std::string::npos);
    EXPECT_NE(exp.Registry(), nullptr);
    EXPECT_EQ(exp.Fonts(), nullptr);
    EXPECT_EQ(exp.EndExport(&context_), 1);
}

TEST_F(SVGExpTest, ScaledValuesRoundHalfAwayFromZero) {
    EXPECT_EQ(RoundHalfAway(2.6), 3);
    EXPECT_EQ(RoundHalfAway(-2.6), -3);
    EXPECT_EQ(RoundHalfAway(2.5), 3);
    EXPECT_EQ(RoundHalfAway(-2.5), -3);
    EXPECT_EQ(RoundHalfAway(0.0), 0);
    SVGExp exp(files_, &settings_);
    ASSERT_EQ(exp.BeginExport(&context_), 1);
    EXPECT_EQ(exp.ToUserLength(128), 1);
    EXPECT_EQ(exp.ToUserLength(-128), -1);
    EXPECT_EQ(exp.ToUserLength(126), 0);
    exp.EndExport(&context_);
}

TEST_F(SVGExpTest, WithoutAnOptionsRecordTheDefaultsHold) {
    context_.exportOptions = nullptr;
    SVGExp exp(files_, &settings_);
    ASSERT_EQ(exp.BeginExport(&context_), 1);
    EXPECT_EQ(exp.Options().textAsText, 1u);
    EXPECT_EQ(exp.Options().precision, 1000u);
    EXPECT_EQ(exp.Options().cssPlacement, 0u);
    exp.EndExport(&context_);
}

TEST_F(SVGExpTest, PlacementDecidesTheRegistryAndEmbeddingTheFontList) {
    options_.cssPlacement = kCssStyleAttribute;
    options_.embedFonts = 1;
    SVGExp exp(files_, &settings_);
    ASSERT_EQ(exp.BeginExport(&context_), 1);
    EXPECT_EQ(exp.Registry(), nullptr);
    EXPECT_NE(exp.Fonts(), nullptr);
    EXPECT_EQ(exp.Writer()->GetCssMode(), kCssStyleAttribute);
    EXPECT_EQ(exp.EndExport(&context_), 1);
    EXPECT_EQ(Output().find("<defs>"), std::string::npos);
}

TEST_F(SVGExpTest, ShorthandSettingDecidesTheFontForm) {
    const struct {
        const char* value;  // null: no value
        uint32_t separate;
    } cases[] = {{nullptr, 1}, {"1", 0}, {"1x", 0}, {"0", 1}, {"2", 1}, {"12345", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value == nullptr ? "none" : c.value);
        platform::MemorySettingsStore settings;
        settings.AddKey(kFontSettingsKey);
        if (c.value != nullptr) settings.SetText(kFontSettingsKey, kShorthandValue, c.value);
        SVGExp exp(files_, &settings);
        EXPECT_EQ(exp.SeparateFontProperties(), 1u);
        exp.BeginExport(&context_);
        EXPECT_EQ(exp.SeparateFontProperties(), c.separate);
        exp.EndExport(&context_);
        context_.hostHandle = 42;
        context_.exportOptions = &options_;
    }
}

TEST_F(SVGExpTest, EndExportReleasesEverythingOnce) {
    SVGExp exp(files_, &settings_);
    ASSERT_EQ(exp.BeginExport(&context_), 1);
    EXPECT_GT(files_.LiveTemporaries(), 0);
    EXPECT_EQ(exp.EndExport(&context_), 1);
    EXPECT_EQ(g_log.released, std::vector<HostHandle>{42});
    EXPECT_EQ(context_.hostHandle, 0u);
    EXPECT_EQ(context_.callbackRecord, nullptr);
    EXPECT_EQ(context_.exportOptions, nullptr);
    EXPECT_EQ(files_.LiveTemporaries(), 0);
    EXPECT_EQ(exp.Writer(), nullptr);
}

TEST_F(SVGExpTest, PresetErrorCodeFailsEndExportButStillReleases) {
    SVGExp exp(files_, &settings_);
    ASSERT_EQ(exp.BeginExport(&context_), 1);
    context_.errorCode = 5;
    EXPECT_EQ(exp.EndExport(&context_), 0);
    EXPECT_EQ(g_log.released.size(), 1u);
    EXPECT_EQ(context_.hostHandle, 0u);
    EXPECT_EQ(files_.LiveTemporaries(), 0);
    // The document itself was completed.
    EXPECT_NE(Output().find("</svg>\r\n"), std::string::npos);
}

TEST_F(SVGExpTest, WithoutAnOutputFileBeginFailsAndDrawingEntriesAnswerFailure) {
    context_.fileHandle = 0;
    SVGExp exp(files_, &settings_);
    EXPECT_EQ(exp.BeginExport(&context_), 0);
    EXPECT_EQ(exp.Writer(), nullptr);
    const ExportCallbackRecord& r = exp.CallbackRecord();
    EXPECT_EQ(r.beginDrawing(r.object), 0);
    EXPECT_EQ(r.beginNamedLayer(r.object, "L"), 100);
    EXPECT_EQ(r.endNamedLayer(r.object), 100);
    EXPECT_EQ(r.beginGroup(r.object), 100);
    EXPECT_EQ(exp.EndExport(&context_), 0);
    EXPECT_EQ(g_log.released.size(), 1u);
    EXPECT_EQ(files_.TemporariesCreated(), 0);
}

TEST_F(SVGExpTest, APartThatCannotBeMadeFailsBeginExport) {
    files_.FailTemporary(1);
    SVGExp exp(files_, &settings_);
    EXPECT_EQ(exp.BeginExport(&context_), 0);
    EXPECT_EQ(context_.errorCode, kErrDiskFull);
    EXPECT_EQ(exp.EndExport(&context_), 0);
    EXPECT_EQ(files_.LiveTemporaries(), 0);
}

TEST_F(SVGExpTest, AStyleSheetThatCannotBeMadeFailsBeginExportWithItsCause) {
    options_.cssPlacement = kCssExternal;
    files_.FailNamed(true);
    SVGExp exp(files_, &settings_);
    EXPECT_EQ(exp.BeginExport(&context_), 0);
    EXPECT_EQ(context_.errorCode, kErrAccessDenied);
    EXPECT_EQ(exp.EndExport(&context_), 0);
}

// The code says why a write failed, and it is there as soon as the failed
// call answers, for a host that stops there.
TEST_F(SVGExpTest, AFailedWriteFailsEndExportWithItsCause) {
    const struct {
        platform::FileCause cause;
        uint32_t code;
    } cases[] = {
        {platform::FileCause::diskFull, kErrDiskFull},
        {platform::FileCause::accessDenied, kErrAccessDenied},
        {platform::FileCause::hardIO, kErrHardwareIO},
        {platform::FileCause::generic, kErrWriteFailed},
    };
    for (const auto& c : cases) {
        platform::ScriptedFiles files;
        context_.errorCode = 0;
        SVGExp exp(files, &settings_);
        ASSERT_EQ(exp.BeginExport(&context_), 1);
        files.FailWrite(files.WritesMade() + 1, c.cause);
        const ExportCallbackRecord& r = exp.CallbackRecord();
        r.beginDrawing(r.object);
        EXPECT_EQ(r.beginNamedLayer(r.object, "Layer 1"), kFailed);
        EXPECT_EQ(context_.errorCode, c.code);
        r.endDrawing(r.object);
        EXPECT_EQ(exp.EndExport(&context_), 0);
        EXPECT_EQ(context_.errorCode, c.code);
        EXPECT_EQ(files.LiveTemporaries(), 0);
    }
}

// A failed export leaves the style sheet of an earlier one as it was; a whole
// one replaces it, and neither leaves a file of its own beside it.
TEST_F(SVGExpTest, TheStyleSheetIsReplacedOnlyByAWholeExport) {
    options_.cssPlacement = kCssExternal;
    files_.CreateNamed("/out/drawing.css")->Write(".earlier {}");
    for (const bool fail : {true, false}) {
        context_.errorCode = 0;
        context_.exportOptions = &options_;
        SVGExp exp(files_, &settings_);
        ASSERT_EQ(exp.BeginExport(&context_), 1);
        const ExportCallbackRecord& r = exp.CallbackRecord();
        r.beginDrawing(r.object);
        r.endDrawing(r.object);
        if (fail) context_.errorCode = 5;
        EXPECT_EQ(exp.EndExport(&context_), fail ? 0 : 1);
        EXPECT_EQ(files_.NamedPaths(), std::vector<std::string>{"/out/drawing.css"});
        EXPECT_EQ(files_.NamedContent("/out/drawing.css") == ".earlier {}", fail) << fail;
    }
}

TEST_F(SVGExpTest, ASecondBeginStartsOver) {
    SVGExp exp(files_, &settings_);
    ASSERT_EQ(exp.BeginExport(&context_), 1);
    const int live = files_.LiveTemporaries();
    ASSERT_EQ(exp.BeginExport(&context_), 1);
    EXPECT_EQ(files_.LiveTemporaries(), live);
    EXPECT_EQ(exp.EndExport(&context_), 1);
    EXPECT_EQ(files_.LiveTemporaries(), 0);
}

TEST_F(SVGExpTest, LayersAndGroupsNestInTheBody) {
    SVGExp exp(files_, &settings_);
    ASSERT_EQ(exp.BeginExport(&context_), 1);
    const ExportCallbackRecord& r = exp.CallbackRecord();
    // Outside a drawing a group opens nothing.
    EXPECT_EQ(r.beginGroup(r.object), 0);
    EXPECT_EQ(r.endGroup(r.object), 0);
    EXPECT_EQ(r.beginDrawing(r.object), 0);
    EXPECT_EQ(exp.Nesting(), 1);
    EXPECT_EQ(r.beginNamedLayer(r.object, "Layer <1>"), 0);
    EXPECT_EQ(r.beginGroup(r.object), 0);
    EXPECT_EQ(r.endGroup(r.object), 0);
    EXPECT_EQ(r.endNamedLayer(r.object), 0);
    EXPECT_EQ(r.endDrawing(r.object), 0);
    EXPECT_EQ(exp.Nesting(), 0);
    ASSERT_EQ(exp.EndExport(&context_), 1);
    const std::string out = Output();
    EXPECT_NE(out.find(" <g id=\"Layer &lt;1&gt;\">\r\n  <g >\r\n  </g>\r\n </g>\r\n</svg>\r\n"),
              std::string::npos)
        << out;
}

TEST_F(SVGExpTest, ObjectKindQueries) {
    SVGExp exp(files_, &settings_);
    ASSERT_EQ(exp.BeginExport(&context_), 1);
    // Sub-kind records for kinds 5 and 31: sub-kind at byte 0, form at byte 4.
    auto sub = [](uint16_t subKind, uint16_t form) {
        std::vector<uint8_t> data(8, 0);
        std::memcpy(data.data(), &subKind, 2);
        std::memcpy(data.data() + 4, &form, 2);
        return data;
    };
    const auto sub0 = sub(0, 0), sub2a = sub(2, 1), sub2b = sub(2, 3), sub3 = sub(3, 0), sub11 = sub(11, 0),
               sub12 = sub(12, 0);
    const struct {
        uint32_t kind;
        const void* data;
        int32_t answer;
    } cases[] = {
        {3, nullptr, 1},      {8, nullptr, 1},      {10, nullptr, 1},    {11, nullptr, 1},
        {20, nullptr, 1},     {26, nullptr, 1},     {5, nullptr, 1},     {31, sub0.data(), 1},
        {5, sub2a.data(), 1}, {5, sub2b.data(), 0}, {5, sub3.data(), 0}, {31, sub11.data(), 1},
        {5, sub12.data(), 0}, {7, nullptr, 1},      {9, nullptr, 1},     {21, nullptr, 1},
        {30, nullptr, 1},     {1, nullptr, 0},      {18, nullptr, 0},    {99, nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(exp.QueryObjectKindByType(c.kind, c.data), c.answer);
    }
    // Any mode but 0 asks whether objects are taken at all.
    const ExportCallbackRecord& r = exp.CallbackRecord();
    EXPECT_EQ(r.takesObjects(r.object, 12345), 1);
    EXPECT_EQ(r.queryObjectKind(r.object, 2, nullptr), 0);
    exp.EndExport(&context_);

    // Text kinds follow the text option.
    options_.textAsText = 0;
    context_.exportOptions = &options_;
    SVGExp curves(files_, &settings_);
    curves.BeginExport(&context_);
    EXPECT_EQ(curves.QueryObjectKindByType(7, nullptr), 0);
    curves.EndExport(&context_);
}

TEST_F(SVGExpTest, OutlineKindQueryAsksTheHostAboutTheOutlinesTransform) {
    SVGExp exp(files_, &settings_);
    ASSERT_EQ(exp.BeginExport(&context_), 1);
    HostOutlineRecord outline{};
    outline.value12 = 100;
    EXPECT_EQ(exp.QueryObjectKindByType(18, &outline), 1);
    ASSERT_EQ(g_log.identityQueries.size(), 1u);
    EXPECT_EQ(g_log.identityQueries[0], &outline.transform);
    g_log.identityAnswer = 0;
    EXPECT_EQ(exp.QueryObjectKindByType(18, &outline), 0);
    g_log.identityAnswer = 1;
    outline.word128 = 1;
    EXPECT_EQ(exp.QueryObjectKindByType(18, &outline), 0);
    outline.word128 = 0;
    outline.value12 = 99;
    EXPECT_EQ(exp.QueryObjectKindByType(18, &outline), 0);
    exp.EndExport(&context_);
}

TEST_F(SVGExpTest, InformationQueries) {
    SVGExp exp(files_, &settings_);
    ASSERT_EQ(exp.BeginExport(&context_), 1);
    const ExportCallbackRecord& r = exp.CallbackRecord();
    uint32_t handle = 0;
    EXPECT_EQ(r.queryInformation(r.object, 9, &handle, nullptr), 1);
    EXPECT_EQ(handle, 0xC0105u);

    const struct {
        HostRect box;
        int32_t width, height;
    } sizes[] = {{{0, 0, 254000, 0}, 121, 1},
                 {{254000, 0, 0, 254000}, 121, 121},
                 {{0, 1059, 0, 0}, 1, 2},
                 {{0, 1058, 0, 0}, 1, 1}};
    for (const auto& s : sizes) {
        int32_t out[2] = {};
        EXPECT_EQ(r.queryInformation(r.object, 13, out, &s.box), 1);
        EXPECT_EQ(out[0], s.width);
        EXPECT_EQ(out[1], s.height);
    }
    for (int32_t code : {16, 18, 21}) {
        int32_t untouched = -1;
        EXPECT_EQ(r.queryInformation(r.object, code, &untouched, nullptr), 1);
        EXPECT_EQ(untouched, -1);
    }
    EXPECT_TRUE(g_log.informationCodes.empty());
    EXPECT_EQ(r.queryInformation(r.object, 5, nullptr, nullptr), 77);
    EXPECT_EQ(g_log.informationCodes, std::vector<int32_t>{5});
    exp.EndExport(&context_);
}

TEST_F(SVGExpTest, CallbackSetAndHostCallbacks) {
    SVGExp exp(files_, &settings_);
    ASSERT_EQ(exp.BeginExport(&context_), 1);
    const ExportCallbackRecord& r = exp.CallbackRecord();
    EXPECT_EQ(r.callHostCallback1(r.object, 5), 1);
    EXPECT_EQ(r.callHostCallback2(r.object, 6), 0);
    ASSERT_EQ(g_log.callbacks.size(), 2u);
    EXPECT_EQ(g_log.callbacks[0], (std::vector<uintptr_t>{1, 42, 5, 99}));
    EXPECT_EQ(g_log.callbacks[1], (std::vector<uintptr_t>{2, 42, 6, 99}));

    // A new set goes over the host's own; the old one is handed back when asked.
    const HostCallbackSet swapped{0, &SecondCallback, &FirstCallback, 0, 7};
    EXPECT_EQ(r.setCallbackSet(r.object, &swapped, nullptr), 1);
    EXPECT_EQ(set_.userValue, 7u);
    HostCallbackSet old{};
    const HostCallbackSet back{0, &FirstCallback, &SecondCallback, 0, 99};
    EXPECT_EQ(r.setCallbackSet(r.object, &back, &old), 1);
    EXPECT_EQ(old.userValue, 7u);
    EXPECT_EQ(set_.userValue, 99u);
    exp.EndExport(&context_);
}

}  // namespace
}  // namespace svgf
