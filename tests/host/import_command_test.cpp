// `svgfilter import` run as a user runs it (under the emulator in the 32-bit
// build): a document becomes a description that exports again; a failure is
// one line naming the file and the cause, exit status 1 and no output.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

class ImportCommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/import_command_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = root_ + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // `[ENVIRONMENT] svgfilter ARGUMENTS`: the exit status; standard error in `errors`.
    int Tool(const std::string& arguments, std::string* errors = nullptr, const std::string& environment = {}) {
        const std::string errorFile = root_ + "/stderr.txt";
        const std::string command = environment + " " + std::string(SVGFILTER_TOOL_LAUNCHER) + Quote(SVGFILTER_TOOL) + " " +
                                    arguments + " >/dev/null 2>" + Quote(errorFile);
        const int status = std::system(command.c_str());
        if (errors != nullptr) *errors = Read(errorFile);
        ::unlink(errorFile.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string root_;
};

TEST_F(ImportCommandLine, ImportsADocumentThatExportsAgain) {
    const std::string svg = Write("d.svg", R"(<?xml version="1.0"?>
<svg xmlns="http://www.w3.org/2000/svg" width="2in" height="1in" viewBox="0 0 200 100">
<style>.a { fill: #00AA00 }</style><rect class="a" x="10" y="10" width="80" height="80"/></svg>)");
    std::string errors;
    ASSERT_EQ(Tool("import " + Quote(svg) + " " + Quote(root_ + "/d.json"), &errors), 0) << errors;
    EXPECT_EQ(errors, "");
    const std::string description = Read(root_ + "/d.json");
    // The page is the document's: two inches by one.
    EXPECT_NE(description.find(R"("page": {"x": 0, "y": 0, "width": 508000, "height": 254000})"),
              std::string::npos)
        << description;
    EXPECT_NE(description.find("#00AA00"), std::string::npos) << description;
    ASSERT_EQ(Tool("export " + Quote(root_ + "/d.json") + " " + Quote(root_ + "/again.svg"), &errors), 0)
        << errors;
    EXPECT_NE(Read(root_ + "/again.svg").find("fill:#00AA00"), std::string::npos);
}

TEST_F(ImportCommandLine, AFailureIsOneLineNamingTheFileAndTheCause) {
    const struct {
        const char* name;
        const char* text;  // null: no such file
        const char* cause;
    } cases[] = {
        {"missing.svg", nullptr, "the file could not be opened"},
        {"page.svg", "<html><body/></html>", "is not an SVG drawing"},
        {"flat.svg", "<svg viewBox='0 0 10 0'/>", "view box has no width or no height"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string input = c.text != nullptr ? Write(c.name, c.text) : root_ + "/" + c.name;
        const std::string output = root_ + "/out.json";
        std::string errors;
        EXPECT_EQ(Tool("import " + Quote(input) + " " + Quote(output), &errors), 1);
        EXPECT_EQ(errors.rfind("svgfilter: " + input + ": ", 0), 0u) << errors;
        EXPECT_NE(errors.find(c.cause), std::string::npos) << errors;
        EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
        EXPECT_FALSE(std::filesystem::exists(output));
    }
}

TEST_F(ImportCommandLine, RefusesBadArgumentsAndOutputsThatAreNoFiles) {
    const std::string svg = Write("d.svg", "<svg width='10' height='10'/>");
    EXPECT_EQ(Tool("import " + Quote(svg)), 2);
    EXPECT_EQ(Tool("import " + Quote(svg) + " a.json b.json"), 2);
    EXPECT_EQ(Tool("import --bogus " + Quote(svg) + " a.json"), 2);
    std::string errors;
    EXPECT_EQ(Tool("import " + Quote(svg) + " " + Quote(root_), &errors), 1);
    EXPECT_NE(errors.find("is a folder"), std::string::npos) << errors;
    EXPECT_EQ(Tool("import " + Quote(root_) + " " + Quote(root_ + "/x.json"), &errors), 1);
    EXPECT_NE(errors.find("it is a folder"), std::string::npos) << errors;
    EXPECT_EQ(Tool("import --help"), 0);
}

// A module that dies while standard error is taken from it: its lines and
// the fatal report still reach the user, and the tool does not say it
// succeeded.
TEST_F(ImportCommandLine, AFatalReportDuringTheImportIsShown) {
    const std::string svg = Write("d.svg", "<svg width='10' height='10'/>");
    for (const char* end : {"abort", "fault"}) {
        SCOPED_TRACE(end);
        std::string errors;
        const int status = Tool("import " + Quote(svg) + " " + Quote(root_ + "/d.json"), &errors,
                                std::string("SVGFILTER_MODULE=") + FATAL_MODULE + " FATAL_MODULE_END=" + end);
        EXPECT_NE(status, 0);
        EXPECT_NE(errors.find("error: a message box before the end\n==1==FATAL: the report that must be seen\n"),
                  std::string::npos)
            << errors;
        EXPECT_FALSE(std::filesystem::exists(root_ + "/d.json"));
    }
}

// On a terminal the import and the export draw one progress line, redrawn
// in place and cleared before the tool's last word; on a file nothing.
TEST_F(ImportCommandLine, ProgressIsDrawnOnATerminalOnly) {
    if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "no script(1) for a terminal";
    std::string svg = "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'>";
    for (int i = 0; i < 2000; ++i) svg += "<rect width='1' height='1' fill='#123456'/>";
    const std::string document = Write("p.svg", svg + "</svg>");
    const std::string json = root_ + "/p.json";
    const struct {
        std::string arguments, label;
    } commands[] = {
        {"import " + Quote(document) + " " + Quote(json), "svgfilter import " + document + ": reading"},
        {"export " + Quote(json) + " " + Quote(root_ + "/p.svg"), "svgfilter export " + json + ": reading"},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.arguments);
        const std::string typed = std::string(SVGFILTER_TOOL_LAUNCHER) + Quote(SVGFILTER_TOOL) + " " + command.arguments;
        const std::string screen = root_ + "/screen.txt";
        ASSERT_EQ(std::system(("script -qec " + Quote(typed) + " /dev/null >" + Quote(screen)).c_str()), 0);
        const std::string shown = Read(screen);
        const size_t line = shown.find("\r\033[K" + command.label);
        EXPECT_NE(line, std::string::npos) << shown;
        // Cleared, then the tool's own line.
        EXPECT_NE(shown.find("\r\033[Kwrote "), std::string::npos) << shown;
        std::string errors;
        ASSERT_EQ(Tool(command.arguments, &errors), 0) << errors;
        EXPECT_EQ(errors, "");
    }
}

}  // namespace
