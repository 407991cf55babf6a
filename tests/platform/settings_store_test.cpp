// Settings: the file format, the lookup rules shared by both stores, and
// which store is in force.
#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ini_settings_store.h"
#include "platform/memory_settings_store.h"

namespace {

using platform::SettingsStatus;

constexpr const char* kKey = "SOFTWARE\\Tavix\\SVGFont";

std::string WriteFile(const std::string& name, const std::string& text) {
    const std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

struct Value {
    SettingsStatus status;
    uint32_t size;
    std::string bytes;
};

Value Read(platform::SettingsStore& store, std::string_view key, std::string_view name,
           uint32_t capacity = 4) {
    char buffer[16] = {};
    uint32_t size = capacity;
    const SettingsStatus status = store.ReadValue(key, name, buffer, &size);
    return {status, size, status == SettingsStatus::kOk ? std::string(buffer, size) : std::string()};
}

TEST(IniSettingsStore, ReadsTheValueForms) {
    platform::IniSettingsStore store(WriteFile("forms.ini",
                                               "; settings\r\n"
                                               "[SOFTWARE\\Tavix\\SVGFont]\r\n"
                                               "Shorthand=1\r\n"
                                               "Spaced = \" a b \"\n"
                                               "Number=dword:0000000a\n"
                                               "Raw=hex:31, 00,ff\n"
                                               "Broken=dword:xyz\n"
                                               "no equals sign here\n"
                                               "[Other]\n"
                                               "Shorthand=0\n"));
    EXPECT_EQ(Read(store, kKey, "Shorthand").bytes, std::string("1\0", 2));
    EXPECT_EQ(Read(store, kKey, "Spaced", 16).bytes, std::string(" a b \0", 6));
    EXPECT_EQ(Read(store, kKey, "Number").bytes, std::string("\x0a\0\0\0", 4));
    EXPECT_EQ(Read(store, kKey, "Raw").bytes, std::string("1\0\xff", 3));
    EXPECT_EQ(Read(store, kKey, "Broken").status, SettingsStatus::kNotFound);
    EXPECT_EQ(Read(store, "Other", "Shorthand").bytes, std::string("0\0", 2));
}

TEST(IniSettingsStore, KeysAndNamesIgnoreCase) {
    platform::IniSettingsStore store(WriteFile("case.ini", "[software\\tavix\\svgfont]\nSHORTHAND=1\n"));
    EXPECT_EQ(Read(store, kKey, "Shorthand").status, SettingsStatus::kOk);
    EXPECT_TRUE(store.HasKey(kKey));
    EXPECT_TRUE(store.HasKey("Software\\Tavix")) << "a key holding sub-keys exists";
    EXPECT_FALSE(store.HasKey("Software\\Tav"));
    EXPECT_FALSE(store.HasKey("Software\\Tavix\\SVGFont\\Deeper"));
}

TEST(IniSettingsStore, TooSmallBufferAndMissingThings) {
    platform::IniSettingsStore store(WriteFile("sizes.ini", "[SOFTWARE\\Tavix\\SVGFont]\nShorthand=12345\n"));
    const Value tooLong = Read(store, kKey, "Shorthand", 4);
    EXPECT_EQ(tooLong.status, SettingsStatus::kMoreData);
    EXPECT_EQ(tooLong.size, 6u) << "the size the value needs";
    EXPECT_EQ(Read(store, kKey, "Missing").status, SettingsStatus::kNotFound);
    EXPECT_EQ(Read(store, "SOFTWARE\\Nobody", "Shorthand").status, SettingsStatus::kNotFound);

    platform::IniSettingsStore absent(testing::TempDir() + "no-such-settings.ini");
    EXPECT_FALSE(absent.HasKey(kKey));
    EXPECT_EQ(Read(absent, kKey, "Shorthand").status, SettingsStatus::kNotFound);
}

TEST(MemorySettingsStore, RecordsEveryRead) {
    platform::MemorySettingsStore store;
    store.SetText(kKey, "Shorthand", "1");
    store.SetNumber(kKey, "Count", 258);
    EXPECT_EQ(Read(store, kKey, "Shorthand").bytes, std::string("1\0", 2));
    EXPECT_EQ(Read(store, kKey, "Count").bytes, std::string("\x02\x01\0\0", 4));
    EXPECT_EQ(Read(store, kKey, "Nothing").status, SettingsStatus::kNotFound);
    ASSERT_EQ(store.Reads().size(), 3u);
    EXPECT_EQ(store.Reads()[2].name, "Nothing");
    EXPECT_EQ(store.Reads()[2].status, SettingsStatus::kNotFound);
}

class SettingsInForce : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {platform::kSettingsPathVariable, "XDG_CONFIG_HOME", "HOME"}) {
            const char* value = std::getenv(name);
            saved_.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name, value->c_str(), 1);
            } else {
                unsetenv(name);
            }
        }
        platform::SetSettingsStore(nullptr);
    }
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(SettingsInForce, PathComesFromTheEnvironment) {
    setenv("HOME", "/home/someone", 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv(platform::kSettingsPathVariable);
    EXPECT_EQ(platform::DefaultSettingsPath(), "/home/someone/.config/svgfilter/settings.ini");
    setenv("XDG_CONFIG_HOME", "/xdg", 1);
    EXPECT_EQ(platform::DefaultSettingsPath(), "/xdg/svgfilter/settings.ini");
    setenv(platform::kSettingsPathVariable, "/etc/svgfilter.ini", 1);
    EXPECT_EQ(platform::DefaultSettingsPath(), "/etc/svgfilter.ini");
}

TEST_F(SettingsInForce, FileNamedByTheEnvironmentUnlessAStoreIsSet) {
    setenv(platform::kSettingsPathVariable,
           WriteFile("in-force.ini", "[SOFTWARE\\Tavix\\SVGFont]\nShorthand=1\n").c_str(), 1);
    EXPECT_EQ(Read(platform::CurrentSettings(), kKey, "Shorthand").bytes, std::string("1\0", 2));

    platform::MemorySettingsStore memory;
    platform::SetSettingsStore(&memory);
    EXPECT_EQ(Read(platform::CurrentSettings(), kKey, "Shorthand").status, SettingsStatus::kNotFound);
    EXPECT_EQ(memory.Reads().size(), 1u);

    platform::SetSettingsStore(nullptr);
    setenv(platform::kSettingsPathVariable,
           WriteFile("changed.ini", "[SOFTWARE\\Tavix\\SVGFont]\nShorthand=0\n").c_str(), 1);
    EXPECT_EQ(Read(platform::CurrentSettings(), kKey, "Shorthand").bytes, std::string("0\0", 2))
        << "a changed environment takes effect";
}

}  // namespace
