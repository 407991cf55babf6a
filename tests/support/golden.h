// Golden files: expected text kept under tests/data. Set
// SVGFILTER_REGENERATE=1 to write the text produced instead (then review
// the difference before committing it).
#ifndef SVGFILTER_TESTS_GOLDEN_H
#define SVGFILTER_TESTS_GOLDEN_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace testsupport {

inline std::string GoldenPath(const std::string& name) {
    return std::string(SVGFILTER_TEST_DATA) + "/" + name;
}

inline void ExpectGolden(const std::string& name, const std::string& text) {
    const std::string path = GoldenPath(name);
    const char* regenerate = std::getenv("SVGFILTER_REGENERATE");
    if (regenerate != nullptr && std::string(regenerate) == "1") {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "no golden file " << path << " (SVGFILTER_REGENERATE=1 writes it)";
    std::ostringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(text, expected.str()) << "differs from " << path;
}

}  // namespace testsupport

#endif  // SVGFILTER_TESTS_GOLDEN_H
