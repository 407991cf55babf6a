// Path text of the host configuration, with both separators and drives.
#include "colour/config_paths.h"

#include <gtest/gtest.h>

#include <cstring>

namespace colour {
namespace {

TEST(ConfigPaths, AppendPathSeparator) {
    struct Row {
        const char* in;
        const char* out;
        bool hadOne;
    };
    for (const Row& r : {Row{"c:\\data\\", "c:\\data\\", true}, Row{"c:/data/", "c:/data/", true},
                         Row{"c:\\data", "c:\\data\\", false}, Row{"/opt/data", "/opt/data/", false},
                         Row{"c:\\mixed/data", "c:\\mixed/data/", false}, Row{"data", "data\\", false},
                         Row{"", "\\", false}}) {
        std::string path = r.in;
        EXPECT_EQ(AppendPathSeparator(path), r.hadOne) << r.in;
        EXPECT_EQ(path, r.out) << r.in;
    }
    char buffer[8] = "abc";
    EXPECT_EQ(AppendPathSeparatorN(buffer, 3, sizeof buffer), 4);
    EXPECT_STREQ(buffer, "abc\\");
    EXPECT_EQ(AppendPathSeparatorN(buffer, 4, sizeof buffer), 4);
    char full[4] = "abc";
    EXPECT_EQ(AppendPathSeparatorN(full, 3, sizeof full), 3);  // no room: left as it was
    EXPECT_STREQ(full, "abc");
}

TEST(ConfigPaths, JoinSplitAndSiblings) {
    EXPECT_EQ(JoinConfigPath("C:\\Host", "tavixapp.ini"), "C:\\Host\\tavixapp.ini");
    EXPECT_EQ(JoinConfigPath("/opt/host/", "tavixapp.ini"), "/opt/host/tavixapp.ini");
    EXPECT_EQ(JoinConfigPath("", "Color.ini"), "Color.ini");

    struct Row {
        const char* path;
        const char* dir;
        const char* name;
    };
    for (const Row& r : {Row{"C:\\Host\\Config\\a.ini", "C:\\Host\\Config\\", "a.ini"},
                         Row{"/opt/host/a.ini", "/opt/host/", "a.ini"}, Row{"C:a.ini", "C:", "a.ini"},
                         Row{"a.ini", "", "a.ini"}, Row{"C:\\Host\\", "C:\\Host\\", ""},
                         Row{"D:/x\\y/z.ccm", "D:/x\\y/", "z.ccm"}}) {
        std::string dir, name;
        SplitDirAndName(r.path, &dir, &name);
        EXPECT_EQ(dir, r.dir) << r.path;
        EXPECT_EQ(name, r.name) << r.path;
    }
    EXPECT_EQ(MakeSiblingPath("C:\\Host\\Color", "D:\\Elsewhere\\profiles.ccm"),
              "C:\\Host\\Color\\profiles.ccm");
    EXPECT_EQ(MakeSiblingPath("/opt/color/", "sub/system.ccm"), "/opt/color/system.ccm");
}

TEST(ConfigPaths, CollapseDotSegments) {
    struct Row {
        const char* in;
        const char* out;
        int changed;
    };
    for (const Row& r :
         {Row{"a\\b\\..\\c\\", "a\\c\\", 1}, Row{"..\\a\\", "..\\a\\", 0}, Row{"a\\.\\b", "a\\b", 1},
          Row{"a/b/../c/", "a/c/", 1}, Row{"a/./b", "a/b", 1}, Row{"a\\b\\..", "a\\", 1},
          Row{"a\\b\\.", "a\\b\\", 1}, Row{"a\\b", "a\\b", 0}, Row{"a\\.hidden\\b", "a\\.hidden\\b", 0},
          Row{"a\\..\\..\\b", "a\\..\\..\\b", 0}, Row{"x\\y\\..\\..\\z", "z", 1}, Row{"", "", 0}}) {
        std::string out;
        EXPECT_EQ(CollapseDotSegments(out, r.in), r.changed) << r.in;
        EXPECT_EQ(out, r.out) << r.in;
    }
}

TEST(ConfigPaths, ResolveRelativePath) {
    struct Row {
        const char* base;
        const char* value;
        const char* out;
        int result;
    };
    for (const Row& r : {Row{"C:\\Host\\Config", "..\\Data\\", "C:\\Host\\Data\\", 1},
                         Row{"C:\\Host\\Config", "Data\\", "C:\\Host\\Config\\Data\\", 1},
                         Row{"C:\\Host\\Config\\", "..", "C:\\Host\\", 1},
                         Row{"/opt/host/config/", "../Data", "/opt/host/Data", 1},
                         Row{"/opt/host/config", "./Color/", "/opt/host/config/Color/", 1},
                         Row{"C:\\Host\\Config", "D:\\Data\\", "D:\\Data\\", 0},
                         Row{"C:\\Host\\Config", "/srv/data", "/srv/data", 0},
                         Row{"C:\\Host\\Config", "\\Data", "\\Data", 0}, Row{"C:\\Host\\Config", "", "", 0},
                         // Up past the root: joined, but not collapsed.
                         Row{"/a", "../../x", "/a/../../x", 1}}) {
        std::string out;
        EXPECT_EQ(ResolveRelativePath(r.base, r.value, out), r.result) << r.base << " + " << r.value;
        EXPECT_EQ(out, r.out) << r.base << " + " << r.value;
    }
}

}  // namespace
}  // namespace colour
