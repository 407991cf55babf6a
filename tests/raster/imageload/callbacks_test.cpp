// The callback block: help and directory entries, the default row and file
// callbacks, and the callback-set library's forwarding entries.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "imageload/filter_callbacks.h"
#include "platform/help.h"
#include "platform/window_model.h"

namespace imageload {
namespace {

// A context with its callbacks, released at the end of the test.
struct ContextWithCallbacks {
    FilterContext context{};
    ContextWithCallbacks() { EXPECT_EQ(InitFilterCallbacks(&context), 1); }
    ~ContextWithCallbacks() {
        UnloadRIPCallbackSet();
        std::free(context.rowBuffer);
        FreeFilterCallbacks(&context);
        ForgetFilterContext(&context);
    }
};

TEST(CallbacksTest, HelpFileIsTheModulesDirectoryAndTheHelpFileName) {
    ContextWithCallbacks c;
    char buffer[260];
    // A module that never set its directory gets the name alone.
    EXPECT_EQ(c.context.callbacks->helpFileName(0, buffer, 0), 1);
    EXPECT_STREQ(buffer, "tvdflt80.hlp");
    char directory[] = "/opt/tavix/help/";
    c.context.helpDirectory = directory;
    c.context.callbacks->helpFileName(0, buffer, 0);
    EXPECT_STREQ(buffer, "/opt/tavix/help/tvdflt80.hlp");
    // A directory too long for a path buffer is cut, not written past it.
    std::string longDirectory(400, 'd');
    c.context.helpDirectory = longDirectory.data();
    c.context.callbacks->helpFileName(0, buffer, 0);
    EXPECT_EQ(std::strlen(buffer), sizeof buffer - 1);
}

TEST(CallbacksTest, DirectoryQueryAnswersAnEmptyText) {
    ContextWithCallbacks c;
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(c.context.callbacks->directory(buffer, sizeof buffer), 0);
    for (char ch : buffer) EXPECT_EQ(ch, '\0');
}

TEST(CallbacksTest, ContextMenuHelpOnlyInsideTheClientArea) {
    ContextWithCallbacks c;
    platform::ClearHelpRequests();
    static const std::uint8_t kHelpIds[] = {1, 2, 3, 4};
    const int instance = 0;
    platform::RegisterResourceData(&instance, kHelpResourceType, 77, kHelpIds);
    platform::Window parent;
    parent.Bounds() = {100, 100, 400, 300};
    platform::Window window;
    window.Bounds() = {10, 20, 110, 70};
    parent.AddChild(&window);
    auto pack = [](int x, int y) { return static_cast<std::uint32_t>(x & 0xFFFF) | static_cast<std::uint32_t>(y) << 16; };

    EXPECT_EQ(c.context.callbacks->contextMenuHelp(&instance, "a.hlp", &window, pack(105, 115), 77), 0);
    EXPECT_TRUE(platform::HelpRequests().empty());
    EXPECT_EQ(c.context.callbacks->contextMenuHelp(&instance, "a.hlp", &window, pack(115, 125), 77), 1);
    ASSERT_EQ(platform::HelpRequests().size(), 1u);
    EXPECT_EQ(platform::HelpRequests()[0].command, platform::kHelpContextMenu);
    EXPECT_EQ(platform::HelpRequests()[0].data, kHelpIds);

    // Dialog-item help goes to the window named by the help info's fourth word.
    const std::uintptr_t info[4] = {0, 0, 0, reinterpret_cast<std::uintptr_t>(&window)};
    EXPECT_EQ(c.context.callbacks->contextHelp(&instance, "a.hlp", 0, info, 77), 1);
    EXPECT_EQ(c.context.callbacks->contextHelp(&instance, "a.hlp", 0, info, 78), 1);  // no such resource
    ASSERT_EQ(platform::HelpRequests().size(), 2u);
    EXPECT_EQ(platform::HelpRequests()[1].command, platform::kHelpDialogItem);
    EXPECT_EQ(platform::HelpRequests()[1].window, &window);
    parent.RemoveChild(&window);
    platform::UnregisterResourceData(&instance);
}

TEST(CallbacksTest, DefaultRowCallbackBuffersTheFrame) {
    ContextWithCallbacks c;
    c.context.width = 3;
    c.context.height = 3;
    c.context.bitsPerPixel = 8;  // rows of 3 bytes padded to 4
    ASSERT_EQ(c.context.rowCallback(nullptr, 0, 0, 0, 3, 4, 0, nullptr), 1);
    const std::uint8_t rows[8] = {1, 2, 3, 0, 4, 5, 6, 0};
    // Two rows from row 2 downwards.
    ASSERT_EQ(c.context.rowCallback(rows, 2, 0, -2, 3, 4, 0, nullptr), 1);
    std::uint8_t row[4] = {};
    ASSERT_EQ(c.context.rowRead(&c.context, 2, row), 1);
    EXPECT_EQ(row[0], 1);
    ASSERT_EQ(c.context.rowRead(&c.context, 1, row), 1);
    EXPECT_EQ(row[2], 6);
    EXPECT_EQ(c.context.rowRead(&c.context, 3, row), 0);
}

TEST(CallbacksTest, CallbackSetForwardsEveryEntryUnchanged) {
    ContextWithCallbacks c;
    SetCallbackSetFolder(SVGFILTER_FAKE_CBS_WHOLE);
    ASSERT_EQ(LoadRIPCallbackSet(&c.context), 1);
    const FilterCallbackBlock& b = *c.context.callbacks;
    EXPECT_EQ(b.createPalette(1, 2), 3003);
    EXPECT_EQ(b.setPaletteEntry(1, 2, 3, 4, 5), 22015);
    EXPECT_EQ(b.createImageEx(1, 2, 3, 4, 5, 6, 7, 8), 1036);
    EXPECT_EQ(b.stretchBlitInContext(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14), 24105);
    EXPECT_EQ(b.createRS(), 5000);
    EXPECT_EQ(c.context.decompress(1, 1, 1, 1, 1, 1, 1, 1, 1), 28009);
    EXPECT_EQ(c.context.compressionTerm(5), 26005);
    EXPECT_EQ(UnloadRIPCallbackSet(), 1);
    EXPECT_EQ(UnloadRIPCallbackSet(), 0);  // nothing loaded any more
}

TEST(CallbacksTest, IncompleteOrFailingCallbackSetsAreReleased) {
    for (const char* folder : {SVGFILTER_FAKE_CBS_LACKING, SVGFILTER_FAKE_CBS_FAILING, "/nonexistent"}) {
        ContextWithCallbacks c;
        SetCallbackSetFolder(folder);
        EXPECT_EQ(LoadRIPCallbackSet(&c.context), 0) << folder;
        EXPECT_EQ(c.context.callbacks->createPalette, nullptr) << folder;
        EXPECT_EQ(c.context.compress, nullptr) << folder;
        EXPECT_NE(c.context.callbacks->helpFileName, nullptr) << folder;
        EXPECT_EQ(UnloadRIPCallbackSet(), 0) << folder;
    }
    SetCallbackSetFolder("");
}

}  // namespace
}  // namespace imageload
