// Files a document names (an external DTD, an xml-stylesheet sheet) are
// read only from the document's folder or the dictionary folder, only when
// they are regular files of at most 16 MB: anything else is refused before
// it is opened, with diagnostic 43 (42 for a sheet too large).
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "markup/parser/dom/dom_document.h"
#include "markup/parser/xml_parser.h"
#include "parse_fixtures.h"
#include "platform/messages.h"

namespace markup_test {
namespace {

using namespace markup;

struct DtdLog {
    static inline std::vector<std::string> paths;
    static std::unique_ptr<Dictionary> FromFile(const String& path) {
        paths.emplace_back(path.Text(), path.Length());
        return std::make_unique<Dictionary>();
    }
    static std::unique_ptr<Dictionary> FromText(const String&) { return nullptr; }
};

// A document folder "docs/sub" beside a file it must not reach
// ("docs/secret.txt"), and a separate dictionary folder.
class LinkedFiles : public testing::Test {
  protected:
    LinkedFiles() {
        DtdLog::paths.clear();
        registry_->SetDtdCompiler(&DtdLog::FromFile, &DtdLog::FromText);
        parser_.Init((registry_.folder.Path() + "/").c_str());
        platform::SetMessageSink(&messages_);
        std::filesystem::create_directories(Sub());
        std::filesystem::create_directories(Sub() + "/folder.css");
        docs_.Write("secret.txt", "<!ELEMENT secret ANY> a{fill:red}");
        docs_.Write("sub/good.dtd", "<!ELEMENT x ANY>");
        docs_.Write("sub/good.css", "a{fill:red}");
        registry_.folder.Write("shared.dtd", "<!ELEMENT x ANY>");
        ::mkfifo((Sub() + "/pipe").c_str(), 0600);
        std::filesystem::create_symlink("/etc/passwd", Sub() + "/link");
        // Sparse: one byte past the bound costs no disk.
        docs_.Write("sub/big", "");
        std::filesystem::resize_file(Sub() + "/big", (16u << 20) + 1);
    }
    ~LinkedFiles() override {
        registry_->SetDtdCompiler(nullptr, nullptr);
        platform::SetMessageSink(nullptr);
    }
    std::string Sub() const { return docs_.Path() + "/sub"; }

    // The diagnostics of a parse of the document text in docs/sub.
    std::string Parse(const std::string& text, RecordingCSSManager* manager = nullptr) {
        const std::string file = docs_.Write("sub/doc.svg", text);
        const WDOMHandle document = parser_.Parse(file.c_str(), manager);
        auto* imp = dynamic_cast<WDOMDocument_WepImp*>(document.Get());
        if (!imp) return "no document";
        auto* diagnostics = dynamic_cast<const ParseDiagnostics*>(imp->GetTree()->Option());
        return diagnostics ? DumpDiagnostics(diagnostics->errors) : std::string();
    }

    FreshRegistry registry_;
    TempDir docs_;
    WXMLParser_WepImp parser_;
    platform::RecordingMessageSink messages_;
};

struct Target {
    const char* name;  // as the document writes it; "@" stands for the dictionary folder
    const char* diagnostic;  // the code expected, or "" when the file is read
    const char* cause;
};

const Target kTargets[] = {
    {"good", "", ""},
    {"@shared.dtd", "", ""},
    {"/dev/zero", "43 ", "outside"},
    {"/dev/urandom", "43 ", "outside"},
    {"/etc/passwd", "43 ", "outside"},
    {"../secret.txt", "43 ", "outside"},
    {"link", "43 ", "outside"},
    {"pipe", "43 ", "not a regular file"},
    {"folder.css", "43 ", "not a regular file"},
    {"big", "43 ", "larger than the 16 MB"},
};

std::string Named(const Target& target, const std::string& extension, const std::string& dictionaries) {
    std::string name = target.name;
    if (name == "good") return name + extension;
    if (name[0] == '@') return dictionaries + "/" + name.substr(1);
    return name;
}

TEST_F(LinkedFiles, AnExternalDtdIsReadOnlyFromTheAllowedFolders) {
    int n = 0;
    for (const Target& target : kTargets) {
        SCOPED_TRACE(target.name);
        DtdLog::paths.clear();
        const std::string name = Named(target, ".dtd", registry_.folder.Path());
        // A new document type each time: a registered one is never compiled again.
        const std::string type = "x" + std::to_string(n++);
        const std::string diagnostics = Parse("<!DOCTYPE " + type + " SYSTEM \"" + name + "\">\n<x/>");
        if (target.diagnostic[0] == '\0') {
            EXPECT_EQ(DtdLog::paths.size(), 1u);
            EXPECT_EQ(diagnostics.find("43 "), std::string::npos) << diagnostics;
        } else {
            EXPECT_TRUE(DtdLog::paths.empty());
            EXPECT_NE(diagnostics.find(target.diagnostic), std::string::npos) << diagnostics;
            EXPECT_NE(diagnostics.find(target.cause), std::string::npos) << diagnostics;
        }
    }
}

TEST_F(LinkedFiles, ALinkedStyleSheetIsReadOnlyFromTheAllowedFolders) {
    for (const Target& target : kTargets) {
        SCOPED_TRACE(target.name);
        RecordingCSSManager manager;
        const std::string name = Named(target, ".css", registry_.folder.Path());
        const std::string diagnostics =
            Parse("<?xml-stylesheet href=\"" + name + "\" type=\"text/css\"?>\n<svg/>", &manager);
        const bool read = !manager.events.empty();
        if (target.diagnostic[0] == '\0') {
            // The dictionary folder holds no sheet of that name: nothing is read, nothing refused.
            if (std::string(target.name) == "good") {
                EXPECT_TRUE(read);
            }
            EXPECT_EQ(diagnostics.find("43 "), std::string::npos) << diagnostics;
        } else {
            EXPECT_FALSE(read);
            const std::string code = std::string(target.name) == "big" ? "42 " : target.diagnostic;
            EXPECT_NE(diagnostics.find(code), std::string::npos) << diagnostics;
            EXPECT_NE(diagnostics.find(target.cause), std::string::npos) << diagnostics;
        }
    }
}

}  // namespace
}  // namespace markup_test
