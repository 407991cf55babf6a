// String tables: the chain's order and the one copy rule that both the
// module-scoped and the chain look-ups answer with.
#include "platform/resource_strings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/resources.h"

namespace {

using namespace platform;

constexpr StringResource kFirst[] = {{70001, "first"}, {70002, "only first"}};
constexpr StringResource kSecond[] = {{70001, "second"}, {70003, "only second"}};
constexpr StringResource kHost[] = {{70001, "host"}, {70004, "only host"}};

TEST(ResourceStrings, ChainAsksModulesInOrderThenTheHost) {
    RegisterStringTable(kFirst);
    RegisterStringTable(kSecond);
    RegisterStringTable(kFirst);  // a second registration does not move it behind kSecond
    SetHostStringTable(kHost);
    EXPECT_EQ(FindResourceString(70001)->text, "first");
    EXPECT_EQ(FindResourceString(70003)->text, "only second");
    EXPECT_EQ(FindResourceString(70004)->text, "only host");
    EXPECT_EQ(FindResourceString(70005), nullptr);

    SetHostStringTable({});
    EXPECT_EQ(FindResourceString(70004), nullptr);
    ASSERT_NE(FindResourceString(10035), nullptr);  // a default host text is back
}

// The same table reached both ways must answer byte for byte alike.
TEST(ResourceStrings, ModuleAndChainCutAndTerminateAlike) {
    static constexpr StringResource kTable[] = {{70010, "Hello"}, {70011, ""}};
    RegisterStringTable(kTable);
    const ResourceModule module{"test", kTable, {}};
    struct Case {
        uint32_t id;
        int32_t size;
        int32_t count;
        const char* text;
    };
    constexpr Case kCases[] = {
        {70010, 16, 5, "Hello"}, {70010, 6, 5, "Hello"}, {70010, 5, 4, "Hell"},
        {70010, 1, 0, ""},       {70011, 16, 0, ""},     {70099, 16, 0, ""},
    };
    for (const Case& c : kCases) {
        char viaModule[16];
        char viaChain[16];
        std::memset(viaModule, 'x', sizeof viaModule);
        std::memset(viaChain, 'x', sizeof viaChain);
        EXPECT_EQ(LoadString(&module, c.id, viaModule, c.size), c.count) << c.id << "/" << c.size;
        EXPECT_EQ(LoadResourceString(c.id, viaChain, c.size), c.count) << c.id << "/" << c.size;
        EXPECT_STREQ(viaModule, c.text) << c.id << "/" << c.size;
        EXPECT_STREQ(viaChain, c.text) << c.id << "/" << c.size;
    }
}

TEST(ResourceStrings, NoModuleLeavesTheEmptyTextAndNoRoomLeavesTheBuffer) {
    char buffer[4] = {'a', 'b', 'c', '\0'};
    EXPECT_EQ(LoadString(nullptr, 70010, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");

    char untouched[4] = {'a', 'b', 'c', '\0'};
    EXPECT_EQ(LoadResourceString(70001, untouched, 0), 0);
    EXPECT_EQ(LoadString(nullptr, 70001, untouched, 0), 0);
    EXPECT_EQ(LoadResourceString(70001, nullptr, 4), 0);
    EXPECT_STREQ(untouched, "abc");
}

}  // namespace
