// The options command and its dialog, played by scripted users.
#include "export_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "owned_blocks.h"
#include "platform/dialog.h"
#include "platform/scripted_dialog_driver.h"
#include "resource_ids.h"
#include "svgfilter/filter_abi.h"

namespace {

using platform::ScriptedDialogDriver;
using svgf::FilterContext;
namespace res = svgf::res;

struct Words {
    uint32_t textAsText, embedFonts, embeddedFontsFirst, bitmapType, precision, cssPlacement;
    bool operator==(const Words&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Words& w) {
    return out << "{" << w.textAsText << ", " << w.embedFonts << ", " << w.embeddedFontsFirst << ", "
               << w.bitmapType << ", " << w.precision << ", " << w.cssPlacement << "}";
}

Words WordsOf(const svgf::SVGExportOptions& o) {
    return {o.textAsText, o.embedFonts, o.embeddedFontsFirst, o.bitmapType, o.precision, o.cssPlacement};
}

constexpr Words kDefaults{1, 0, 0, 0, 1000, 0};

class OptionsCommand : public testing::Test {
  protected:
    void SetUp() override {
        context_.size = svgf::kContextSize;
        window_.driver = &driver_;
        context_.parentWindow = &window_;
    }
    void TearDown() override { svgf::ReleaseExportOptions(context_); }

    int32_t Run() { return FilterEntry(svgf::kCmdOptions, &context_); }
    Words Options() const { return WordsOf(*context_.exportOptions); }

    FilterContext context_{};
    ScriptedDialogDriver driver_;
    platform::Window window_;
};

TEST_F(OptionsCommand, NoUserInterfaceTakesTheDefaultsWithoutADialog) {
    context_.flags = svgf::kFlagNoUserInterface;
    ASSERT_EQ(Run(), 1);
    EXPECT_EQ(Options(), kDefaults);
    EXPECT_EQ(context_.exportOptions->context, &context_);
    EXPECT_EQ(context_.errorCode, 0u);
    EXPECT_EQ(driver_.Runs(), 0);
}

TEST_F(OptionsCommand, DialogOpensOnTheDefaultsWithTheListsFromTheStringTable) {
    std::vector<std::string> bitmaps, precisions;
    driver_
        .Observe([&](const platform::Dialog& d) {
            EXPECT_EQ(d.Template().caption, "SVG Export Options");
            EXPECT_TRUE(d.IsChecked(res::kAsText));
            EXPECT_FALSE(d.IsChecked(res::kAsCurves));
            EXPECT_FALSE(d.IsChecked(res::kEmbedFonts));
            EXPECT_FALSE(d.IsEnabled(res::kEmbeddedFontsFirst));
            EXPECT_TRUE(d.IsChecked(res::kCssInternal));
            EXPECT_FALSE(d.IsChecked(res::kCssStyleAttribute));
            EXPECT_FALSE(d.IsChecked(res::kCssExternal));
            EXPECT_EQ(d.Selection(res::kBitmapType), 0);
            EXPECT_EQ(d.Selection(res::kPrecision), 0);
            for (int32_t i = 0; i < d.ItemCount(res::kBitmapType); ++i)
                bitmaps.push_back(d.ItemText(res::kBitmapType, i));
            for (int32_t i = 0; i < d.ItemCount(res::kPrecision); ++i)
                precisions.push_back(d.ItemText(res::kPrecision, i));
        })
        .Click(platform::kIdOk);
    ASSERT_EQ(Run(), 1);
    EXPECT_EQ(Options(), kDefaults);
    EXPECT_EQ(bitmaps,
              (std::vector<std::string>{"JPG - JPEG Bitmaps", "GIF - GIF Bitmaps", "PNG - PNG Bitmaps"}));
    EXPECT_EQ(precisions, (std::vector<std::string>{"1 : 1000", "1 : 2540", "1 : 10000", "1 : 25400",
                                                    "1 : 100000", "1 : 254000"}));
}

struct DialogCase {
    const char* name;
    void (*script)(ScriptedDialogDriver&);
    int32_t answer;
    uint32_t errorCode;
    Words options;
};

class OptionsDialogCases : public OptionsCommand, public testing::WithParamInterface<DialogCase> {};

TEST_P(OptionsDialogCases, EndsWithTheseOptions) {
    GetParam().script(driver_);
    EXPECT_EQ(Run(), GetParam().answer);
    EXPECT_EQ(context_.errorCode, GetParam().errorCode);
    EXPECT_EQ(Options(), GetParam().options);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, OptionsDialogCases,
    testing::Values(
        DialogCase{
            "PngPrecision25400StyleAttribute",
            [](ScriptedDialogDriver& d) {
                d.Choose(res::kBitmapType, 2).Choose(res::kPrecision, 3).Click(res::kCssStyleAttribute);
                d.Click(platform::kIdOk);
            },
            1,
            0,
            {1, 0, 0, 2, 25400, 2}},
        DialogCase{"EveryControlChanged",
                   [](ScriptedDialogDriver& d) {
                       d.Click(res::kAsCurves).Click(res::kEmbedFonts).Click(res::kEmbeddedFontsFirst);
                       d.Choose(res::kBitmapType, 1).Choose(res::kPrecision, 5).Click(res::kCssExternal);
                       d.Click(platform::kIdOk);
                   },
                   1,
                   0,
                   {0, 1, 1, 1, 254000, 1}},
        DialogCase{"Cancel",
                   [](ScriptedDialogDriver& d) { d.Choose(res::kBitmapType, 2).Click(platform::kIdCancel); },
                   0, svgf::kErrDialogCancelled, kDefaults},
        DialogCase{"CloseBoxIsCancel", [](ScriptedDialogDriver& d) { d.Close(); }, 0,
                   svgf::kErrDialogCancelled, kDefaults},
        DialogCase{"UserWhoGivesUpCancels", [](ScriptedDialogDriver& d) { d.Click(res::kAsCurves); }, 0,
                   svgf::kErrDialogCancelled, kDefaults},
        DialogCase{"TypedTextsMatchingNoEntryReadBackAsFirstEntries",
                   [](ScriptedDialogDriver& d) {
                       d.Choose(res::kBitmapType, 2).Type(res::kBitmapType, "TIFF");
                       d.Choose(res::kPrecision, 4).Type(res::kPrecision, "1 : 7");
                       d.Click(platform::kIdOk);
                   },
                   1,
                   0,
                   {1, 0, 0, 0, 1000, 0}},
        DialogCase{"PriorityStaysCheckedWhenEmbeddingIsTurnedOff",
                   [](ScriptedDialogDriver& d) {
                       d.Click(res::kEmbedFonts).Click(res::kEmbeddedFontsFirst).Click(res::kEmbedFonts);
                       d.Click(platform::kIdOk);
                   },
                   1,
                   0,
                   {1, 0, 1, 0, 1000, 0}}),
    [](const testing::TestParamInfo<DialogCase>& info) { return std::string(info.param.name); });

TEST_F(OptionsCommand, EmbedFontsTogglesWhetherPriorityCanBeSetWithoutClearingIt) {
    bool enabledAtFirst = true, enabledAfterOn = false, enabledAfterOff = true, checkedAfterOff = false;
    driver_.Click(res::kEmbeddedFontsFirst)
        .Observe([&](const platform::Dialog& d) { enabledAtFirst = d.IsEnabled(res::kEmbeddedFontsFirst); })
        .Click(res::kEmbedFonts)
        .Observe([&](const platform::Dialog& d) { enabledAfterOn = d.IsEnabled(res::kEmbeddedFontsFirst); })
        .Click(res::kEmbeddedFontsFirst)
        .Click(res::kEmbedFonts)
        .Observe([&](const platform::Dialog& d) {
            enabledAfterOff = d.IsEnabled(res::kEmbeddedFontsFirst);
            checkedAfterOff = d.IsChecked(res::kEmbeddedFontsFirst);
        })
        .Click(res::kEmbeddedFontsFirst)
        .Click(platform::kIdOk);
    ASSERT_EQ(Run(), 1);
    EXPECT_FALSE(enabledAtFirst);
    EXPECT_TRUE(enabledAfterOn);
    EXPECT_FALSE(enabledAfterOff);
    EXPECT_TRUE(checkedAfterOff);
    // Clicks on the disabled box, first and last, were not taken.
    EXPECT_EQ(driver_.Accepted(),
              (std::vector<bool>{false, true, true, true, true, true, true, false, true}));
    EXPECT_EQ(Options(), (Words{1, 0, 1, 0, 1000, 0}));
}

TEST_F(OptionsCommand, WithoutADriverTheDialogCannotBeShown) {
    for (void* parent : {static_cast<void*>(nullptr), static_cast<void*>(&window_)}) {
        window_.driver = nullptr;
        context_.parentWindow = parent;
        context_.errorCode = 0;
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(context_.errorCode, svgf::kErrDialogFailed);
        EXPECT_EQ(Options(), kDefaults);
    }
}

TEST_F(OptionsCommand, EveryRunStartsFromTheDefaults) {
    driver_.Choose(res::kBitmapType, 2).Click(res::kAsCurves).Click(platform::kIdOk);
    ASSERT_EQ(Run(), 1);
    ASSERT_EQ(Options(), (Words{0, 0, 0, 2, 1000, 0}));

    ScriptedDialogDriver second;
    window_.driver = &second;
    second.Click(platform::kIdOk);
    ASSERT_EQ(Run(), 1);
    EXPECT_EQ(Options(), kDefaults);
}

TEST_F(OptionsCommand, RepeatedRunFreesTheModulesRecordButNotTheHosts) {
    context_.flags = svgf::kFlagNoUserInterface;
    const size_t blocks = svgf::detail::OwnedBlockCount();
    ASSERT_EQ(Run(), 1);
    ASSERT_EQ(Run(), 1);
    EXPECT_NE(context_.exportOptions, nullptr);
    EXPECT_EQ(svgf::detail::OwnedBlockCount(), blocks + 1);
    svgf::ReleaseExportOptions(context_);
    EXPECT_EQ(svgf::detail::OwnedBlockCount(), blocks);

    // A record the host placed there is the host's: replaced, never freed.
    svgf::SVGExportOptions hostRecord{9, 9, 9, 9, 9, 9, nullptr};
    context_.exportOptions = &hostRecord;
    ASSERT_EQ(Run(), 1);
    EXPECT_NE(context_.exportOptions, &hostRecord);
    EXPECT_EQ(hostRecord.textAsText, 9u);
}

TEST(ExportOptions, DefaultsLeaveTheOwningContextAlone) {
    FilterContext context{};
    svgf::SVGExportOptions record{7, 7, 7, 7, 7, 7, &context};
    EXPECT_EQ(svgf::SetDefaultExportOptions(&record), 1);
    EXPECT_EQ(WordsOf(record), kDefaults);
    EXPECT_EQ(record.context, &context);
}

}  // namespace
