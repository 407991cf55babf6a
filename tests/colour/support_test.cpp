// Resource strings, the two error boxes and memory handles.
#include "colour/support.h"

#include <gtest/gtest.h>

#include <cstring>

#include "colour_fixtures.h"
#include "platform/resource_strings.h"

namespace colour {
namespace {

using testing::ColourTest;

class Support : public ColourTest {};

TEST_F(Support, StringsComeFromTheModuleThenTheHost) {
    EXPECT_FALSE(LoadResString(kStrColourManagementWarning).empty());  // the host's default text
    EXPECT_EQ(LoadResString(99999), "");

    static constexpr platform::StringResource kModuleStrings[] = {{kStrConfigErrorTitle, "Module title"}};
    static constexpr platform::StringResource kHostStrings[] = {{kStrConfigErrorTitle, "Host title"},
                                                                {kStrUserInkFileTitle, "Host inks"}};
    const platform::ResourceModule module{"colour-test", kModuleStrings, {}};
    platform::SetHostStringTable(kHostStrings);
    EXPECT_EQ(LoadResString(kStrConfigErrorTitle), "Host title");
    EXPECT_EQ(SetResourceModule(&module), nullptr);
    EXPECT_EQ(GetResourceModule(), &module);
    EXPECT_EQ(LoadResString(kStrConfigErrorTitle), "Module title");
    EXPECT_EQ(LoadResString(kStrConfigErrorTitle, 6), "Module");
    EXPECT_EQ(LoadResString(kStrUserInkFileTitle), "Host inks");  // what the module lacks
    platform::SetHostStringTable({});

    // Each answer is its own string: earlier ones stay as they were.
    const std::string first = LoadResString(kStrConfigErrorTitle);
    const std::string second = LoadResString(kStrUserInkFileTitle);
    EXPECT_EQ(first, "Module title");
    EXPECT_NE(first, second);
}

TEST(FormatWithStrings, TakesOnlyStringArguments) {
    EXPECT_EQ(FormatWithStrings("%s and %s", {"a", "b"}), "a and b");
    EXPECT_EQ(FormatWithStrings("%s %s %s", {"only"}), "only  ");
    EXPECT_EQ(FormatWithStrings("100%% %d %n %", {"x"}), "100% %d %n %");
}

TEST_F(Support, ErrorBoxesNameTheirPlace) {
    EXPECT_EQ(ShowErrorBox(1000, "clrinks.c", 212, nullptr, 0), 1);
    EXPECT_EQ(ShowErrorBox(1001, "palhex.cpp.old", 7, "Palette", 1), 1);
    EXPECT_EQ(ShowErrorBox(1001, nullptr, 0, nullptr, 1), 1);
    EXPECT_EQ(ClrErrorBox(1, "/data/lumavect.ink"), 1);
    EXPECT_EQ(ClrErrorBox(4, "inks.usr"), 1);
    ASSERT_EQ(messages.entries.size(), 5u);
    EXPECT_EQ(messages.entries[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(messages.entries[0].title, "Colour: error 1000 in CLRINKS, line 212");
    EXPECT_EQ(messages.entries[1].title, "Palette: error 1001 in PALHEX, line 7");
    EXPECT_NE(messages.entries[0].text, messages.entries[1].text);  // the flag chooses the text
    EXPECT_EQ(messages.entries[3].kind, platform::MessageKind::Warning);
    EXPECT_NE(messages.entries[3].text.find("/data/lumavect.ink"), std::string::npos);
    EXPECT_NE(messages.entries[4].text.find("inks.usr"), std::string::npos);
}

TEST(MemHandles, AllocateResizeAndFree) {
    MemHandle* handle = MemHandleAlloc(7);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->size, 7u);
    auto* data = static_cast<std::uint8_t*>(MemHandleLock(handle));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::vector<std::uint8_t>(data, data + 7), std::vector<std::uint8_t>(7, 0));
    std::memcpy(data, "abcdefg", 7);
    EXPECT_EQ(MemHandleUnlock(handle), 1);

    ASSERT_EQ(MemHandleRealloc(handle, 12), handle);
    data = static_cast<std::uint8_t*>(MemHandleLock(handle));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), 12), std::string("abcdefg\0\0\0\0\0", 12));
    ASSERT_EQ(MemHandleRealloc(handle, 3), handle);
    EXPECT_EQ(handle->size, 3u);
    EXPECT_EQ(std::memcmp(MemHandleLock(handle), "abc", 3), 0);

    EXPECT_EQ(MemHandleFree(handle), 1);
    EXPECT_EQ(MemHandleFree(nullptr), 0);
    EXPECT_EQ(MemHandleUnlock(nullptr), 1);
    EXPECT_EQ(MemHandleLock(nullptr), nullptr);
    EXPECT_EQ(MemHandleRealloc(nullptr, 4), nullptr);

    MemHandle* empty = MemHandleAlloc(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_NE(MemHandleLock(empty), nullptr);
    MemHandleFree(empty);
}

TEST(MemHandles, ABlockThatCannotBeHadLeavesNoHandle) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer stops the program at an allocation this large";
#endif
    EXPECT_EQ(MemHandleAlloc(SIZE_MAX - 16), nullptr);
    MemHandle* handle = MemHandleAlloc(4);
    ASSERT_NE(handle, nullptr);
    void* before = handle->data;
    EXPECT_EQ(MemHandleRealloc(handle, SIZE_MAX - 16), nullptr);
    EXPECT_EQ(handle->data, before);
    EXPECT_EQ(handle->size, 4u);
    MemHandleFree(handle);
}

}  // namespace
}  // namespace colour
