// The class-id reader, the control-class table and HIMETRIC conversion.
#include "platform/embedded_controls.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <memory>
#include <string>

namespace {

using platform::ClassId;

struct ClassIdCase {
    std::string text;
    bool valid;
};

class ClassIdText : public testing::TestWithParam<ClassIdCase> {};

TEST_P(ClassIdText, ReadsOnlyTheBracedForm) {
    ClassId id;
    id.data1 = 7;
    EXPECT_EQ(platform::ClassIdFromString(GetParam().text, id), GetParam().valid) << GetParam().text;
    if (!GetParam().valid) {
        EXPECT_TRUE(id.IsNull());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ClassIdText,
    testing::Values(ClassIdCase{"{8856F961-340A-11D0-A96B-00C04FD705A2}", true},
                    ClassIdCase{"{8856f961-340a-11d0-a96b-00c04fd705a2}", true},
                    ClassIdCase{"8856F961-340A-11D0-A96B-00C04FD705A2", false},
                    ClassIdCase{"{8856F961-340A-11D0-A96B-00C04FD705A}", false},
                    ClassIdCase{"{8856F961-340A-11D0-A96B-00C04FD705A2}x", false},
                    ClassIdCase{"{8856F961_340A-11D0-A96B-00C04FD705A2}", false},
                    ClassIdCase{"{8856G961-340A-11D0-A96B-00C04FD705A2}", false},
                    ClassIdCase{"{}", false}, ClassIdCase{"", false}));

TEST(ClassIdText, FieldsTakeTheirDigitsInOrder) {
    ClassId id;
    ASSERT_TRUE(platform::ClassIdFromString("{01234567-89AB-CDEF-0123-456789ABCDEF}", id));
    EXPECT_EQ(id.data1, 0x01234567u);
    EXPECT_EQ(id.data2, 0x89ABu);
    EXPECT_EQ(id.data3, 0xCDEFu);
    const std::array<std::uint8_t, 8> tail = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    EXPECT_EQ(id.data4, tail);
}

class Plain : public platform::EmbeddedControl {};

TEST(ControlClassRegistry, CreatesRegisteredClassesOnly) {
    ClassId id;
    ASSERT_TRUE(platform::ClassIdFromString("{11111111-2222-3333-4444-555555555555}", id));
    auto& registry = platform::ControlClassRegistry::Instance();
    EXPECT_EQ(registry.Create(id), nullptr);
    {
        platform::ScopedControlClass scoped(id, [] { return std::make_unique<Plain>(); });
        ASSERT_TRUE(scoped.Registered());
        EXPECT_FALSE(registry.Register(id, [] { return std::make_unique<Plain>(); })) << "taken";
        EXPECT_FALSE(registry.Register(ClassId{}, [] { return std::make_unique<Plain>(); })) << "null id";
        auto control = registry.Create(id);
        ASSERT_NE(control, nullptr);
        platform::HimetricSize size;
        EXPECT_FALSE(control->InitNew());
        EXPECT_FALSE(control->GetExtent(platform::kAspectContent, size));
    }
    EXPECT_EQ(registry.Create(id), nullptr) << "gone with its scope";
}

TEST(HimetricToPixels, RoundsAtNinetySixDots) {
    EXPECT_EQ(platform::HimetricToPixels(2540), 96);
    EXPECT_EQ(platform::HimetricToPixels(1270), 48);
    EXPECT_EQ(platform::HimetricToPixels(13), 0);
    EXPECT_EQ(platform::HimetricToPixels(14), 1);
    EXPECT_EQ(platform::HimetricToPixels(-2540), -96);
    EXPECT_EQ(platform::HimetricToPixels(INT32_MAX), 81164736);
}

}  // namespace
