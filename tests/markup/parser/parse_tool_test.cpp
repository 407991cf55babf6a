// svgfilter parse as a user runs it: every SVG of the project's tests and a
// set of damaged files give a tree (status 0) or a clean failure (status 1
// with a one-line message), never a crash.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "temp_dir.h"

namespace {

// The exit status, or -1 when the tool did not exit by itself.
int RunTool(const std::string& file, const std::string& errFile, const std::string& flags = "") {
    const std::string command = std::string(SVGFILTER_TOOL_LAUNCHER) + "\"" + SVGFILTER_TOOL + "\" parse \"" + file +
                                "\" " + flags + " >/dev/null 2>\"" + errFile + "\"";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ParseTool, ParsesEverySvgOfTheTests) {
    markup_test::TempDir dir;
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(SVGFILTER_TEST_DATA)) {
        if (entry.path().extension() != ".svg") continue;
        ++files;
        EXPECT_EQ(RunTool(entry.path().string(), dir.Path() + "/err"), 0) << entry.path();
    }
    EXPECT_GT(files, 0);
}

TEST(ParseTool, DamagedFilesGiveATreeOrACleanFailure) {
    markup_test::TempDir dir;
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<g>";
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919) & 0xFF);
    const std::pair<const char*, std::string> cases[] = {
        {"unclosed.svg", "<svg><g><rect x=\"1\"><g"},
        {"entities.svg", "<svg>&nosuch; &#99999999; &amp &#x;</svg>"},
        {"junk.svg", junk},
        {"nul.svg", std::string("<svg>a\0b</svg>", 14)},
        {"deep.svg", deep},
    };
    for (const auto& [name, bytes] : cases) {
        const int status = RunTool(dir.Write(name, bytes), dir.Path() + "/err");
        EXPECT_TRUE(status == 0 || status == 1) << name << " status " << status;
    }
    // A file that is not there: one line naming it and the cause.
    EXPECT_EQ(RunTool(dir.Path() + "/none.svg", dir.Path() + "/err"), 1);
    EXPECT_EQ(ReadAll(dir.Path() + "/err"),
              "svgfilter parse: " + dir.Path() + "/none.svg: the file could not be opened\n");
}

TEST(ParseTool, TellsTheEnginesMessagesAndRefusesWhatIsNoFile) {
    markup_test::TempDir dir;
    // A dictionary cut short parses with what it held, and says so.
    std::filesystem::create_directories(dir.Path() + "/dic");
    std::filesystem::copy_file(std::string(SVGFILTER_DICTIONARY_DIR) + "CSS.dic", dir.Path() + "/dic/CSS.dic");
    dir.Write("dic/html.dic", "DIC\x01\x02");
    const std::string page = dir.Write("page.html", "<p>x</p>");
    EXPECT_EQ(RunTool(page, dir.Path() + "/err", "--html --dictionaries \"" + dir.Path() + "/dic\""), 0);
    EXPECT_NE(ReadAll(dir.Path() + "/err").find("could not be read completely"), std::string::npos)
        << ReadAll(dir.Path() + "/err");
    // A FIFO is refused before it is opened, which would block.
    const std::string fifo = dir.Path() + "/pipe.svg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(RunTool(fifo, dir.Path() + "/err"), 1);
    EXPECT_EQ(ReadAll(dir.Path() + "/err"),
              "svgfilter parse: " + fifo + ": the file could not be opened (it is not a regular file)\n");
}

}  // namespace
