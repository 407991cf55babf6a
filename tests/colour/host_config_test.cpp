// The host configuration: the directory from the machine's settings, the
// directories the application ini names, and failures reported once.
#include "colour/host_config.h"

#include <gtest/gtest.h>

#include <cstring>

#include "colour_fixtures.h"
#include "platform/host_paths.h"
#include "platform/path_queries.h"
#include "platform/resource_strings.h"

namespace colour {
namespace {

using testing::ColourTest;

class HostConfiguration : public ColourTest {
  protected:
    std::string Dir(int (*getter)(char*, int)) {
        char out[kMaxPath];
        std::memset(out, 'x', sizeof out);
        const int length = getter(out, sizeof out);
        EXPECT_EQ(length, static_cast<int>(std::strlen(out)));
        return out;
    }
};

TEST_F(HostConfiguration, DirectoriesResolveAgainstTheIniFolder) {
    // The directories are named as the host writes them: relative either way,
    // absolute, and in a case the disk does not have.
    folder.Write("Data/lumavect.ink", "");
    InstallHost("[Config]\nDataDir=..\\data\n; a comment\nColorDir=Colour\\Profiles\\..\nProgramsDir=" +
                folder.Path() + "Programs\n");
    ASSERT_EQ(LoadHostConfig(1), 1);
    const std::string config = folder.Path() + "Config/";
    EXPECT_EQ(Dir(GetConfigDir), config);
    EXPECT_EQ(Dir(GetDataDir), folder.Path() + "data/");
    EXPECT_TRUE(platform::PathExists(platform::LocalPath(Dir(GetDataDir) + "LUMAVECT.INK").c_str()));
    EXPECT_EQ(Dir(GetColorDir), config + "Colour\\");
    EXPECT_EQ(Dir(GetProgramsDir), folder.Path() + "Programs/");
    EXPECT_EQ(HostApplicationIni(), config + "tavixapp.ini");
    EXPECT_EQ(HostPrinterIni(), config + "tavixprn.ini");
    EXPECT_EQ(HostFontIni(), config + "tavixfnt.ini");
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(HostConfiguration, AMissingKeyIsTheConfigurationDirectory) {
    InstallHost("[Config]\nColorDir=Color\n");
    EXPECT_EQ(Dir(GetDataDir), folder.Path() + "Config/");
    // Read once: a changed file is not read again.
    folder.Write("Config/tavixapp.ini", "[Config]\nDataDir=Elsewhere\n");
    EXPECT_EQ(Dir(GetDataDir), folder.Path() + "Config/");
}

TEST_F(HostConfiguration, SmallOutputsAreCutAndTerminated) {
    InstallHost("[Config]\nDataDir=Data\n");
    char out[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetDataDir(out, 1), 0);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(GetDataDir(out, 4), 3);
    EXPECT_EQ(std::string(out), folder.Path().substr(0, 3));
    EXPECT_EQ(GetDataDir(nullptr, 0), 0);
}

TEST_F(HostConfiguration, ADirectoryThatDoesNotFitIsEmpty) {
    // Resolved, ColorDir is 259 characters: it fits only without its separator.
    const size_t base = folder.Path().size() + std::strlen("Config/");
    InstallHost("[Config]\nDataDir=" + std::string(300, 'd') + "\nColorDir=" + std::string(259 - base, 'c') +
                "\nProgramsDir=" + std::string(258 - base, 'p') + "\n");
    EXPECT_EQ(Dir(GetDataDir), "");
    EXPECT_EQ(Dir(GetColorDir), "");
    const std::string programs = Dir(GetProgramsDir);
    EXPECT_EQ(programs.size(), 259u);
    EXPECT_EQ(programs.back(), '/');
}

TEST_F(HostConfiguration, NamesMatchWithoutCaseWhenTheExactOneIsMissing) {
    settings.SetText("SOFTWARE\\Tavix\\Lumavecta\\8.0", "ConfigDir", folder.Path() + "config");
    platform::SetSettingsStore(&settings);
    folder.Write("Config/TavixApp.INI", "[Config]\nDataDir=Data\n");
    ASSERT_EQ(LoadHostConfig(1), 1);
    EXPECT_EQ(Dir(GetDataDir), folder.Path() + "config/Data/");
}

TEST_F(HostConfiguration, AMissingSettingIsReportedOnce) {
    platform::SetSettingsStore(&settings);
    EXPECT_EQ(LoadHostConfig(0), 0);
    EXPECT_TRUE(messages.entries.empty());
    EXPECT_EQ(LoadHostConfig(1), 0);
    EXPECT_EQ(Dir(GetDataDir), "");
    EXPECT_EQ(Dir(GetConfigDir), "");
    EXPECT_EQ(LoadHostConfig(1), 0);
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].kind, platform::MessageKind::Warning);
    EXPECT_EQ(messages.entries[0].title, "Tavix");
    EXPECT_EQ(messages.entries[0].text,
              "Key: \"HKEY_LOCAL_MACHINE\\SOFTWARE\\Tavix\\Lumavecta\\8.0\"  Value: \"ConfigDir\"  not found "
              "in the "
              "Registry.");
    char key[kMaxPath];
    EXPECT_EQ(ReadConfigDirFromRegistry(nullptr, 0, key, sizeof key), 0);
    EXPECT_STREQ(key, "SOFTWARE\\Tavix\\Lumavecta\\8.0");
}

TEST_F(HostConfiguration, AMissingIniIsReportedOnceInTheHostsWords) {
    static constexpr platform::StringResource kHost[] = {{20648, "Setup"}, {20775, "%s|%s|%s|%d|%n"}};
    platform::SetHostStringTable(kHost);
    settings.SetText("SOFTWARE\\Tavix\\Lumavecta\\8.0", "ConfigDir", folder.Path() + "Nowhere");
    platform::SetSettingsStore(&settings);
    EXPECT_EQ(LoadHostConfig(1), 0);
    EXPECT_EQ(Dir(GetColorDir), "");
    EXPECT_EQ(LoadHostConfig(1), 0);
    platform::SetHostStringTable({});
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].title, "Setup");
    // Only "%s" takes an argument; the host's other conversions stay text.
    EXPECT_EQ(messages.entries[0].text,
              folder.Path() + "Nowhere/tavixapp.ini|SOFTWARE\\Tavix\\Lumavecta\\8.0|ConfigDir|%d|%n");
}

}  // namespace
}  // namespace colour
