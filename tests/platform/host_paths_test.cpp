// Host paths on the local file system: separators, drives, and names found
// without regard to case only when the exact name is missing.
#include "platform/host_paths.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace {

class HostPaths : public ::testing::Test {
  protected:
    HostPaths() {
        std::string pattern = (std::filesystem::temp_directory_path() / "hostpathsXXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        for (const char* file :
             {"Config/TavixApp.ini", "Config/tavixapp.INI", "Color/Exact.cc", "Color/exact.cc"}) {
            std::filesystem::create_directories((std::filesystem::path(root_) / file).parent_path());
            std::ofstream(std::filesystem::path(root_) / file) << "x";
        }
    }
    ~HostPaths() override { std::filesystem::remove_all(root_); }
    std::string root_;
};

TEST_F(HostPaths, SeparatorsAndCase) {
    using platform::LocalPath;
    // Backslashes become slashes; an exact name is taken as it is.
    EXPECT_EQ(LocalPath(root_ + "\\Color\\exact.cc"), root_ + "/Color/exact.cc");
    EXPECT_EQ(LocalPath(root_ + "/Color/Exact.cc"), root_ + "/Color/Exact.cc");
    // A missing case is matched; of several matches the first in name order.
    EXPECT_EQ(LocalPath(root_ + "\\config\\TAVIXAPP.ini"), root_ + "/Config/TavixApp.ini");
    // What matches nothing is kept as given, from the first such name on.
    EXPECT_EQ(LocalPath(root_ + "/color/None/EXACT.cc"), root_ + "/Color/None/EXACT.cc");
    // Trailing separators and dot names pass through.
    EXPECT_EQ(LocalPath(root_ + "\\color\\"), root_ + "/Color/");
    EXPECT_EQ(LocalPath(root_ + "/COLOR/../config/tavixapp.ini"), root_ + "/Color/../Config/TavixApp.ini");
    EXPECT_EQ(LocalPath(""), "");
}

TEST_F(HostPaths, DrivesCountFromTheRoot) {
    using platform::LocalPath;
    const std::string inRoot = root_.substr(1);  // the path without its leading "/"
    EXPECT_EQ(LocalPath("C:\\" + inRoot + "\\COLOR\\exact.cc"), root_ + "/Color/exact.cc");
    EXPECT_EQ(LocalPath("d:/" + inRoot), root_);
    EXPECT_EQ(LocalPath("C:" + inRoot), root_);
    EXPECT_EQ(LocalPath("C:"), "/");
}

}  // namespace
