// The parse command: the document tree dump, then the diagnostics.
#include "parse_command.h"

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>
#include <sys/stat.h>

#include "markup/dtd/registry_hook.h"
#include "markup/parser/dictionary_registry.h"
#include "markup/parser/dom/dom_document.h"
#include "markup/parser/parse_diagnostics.h"
#include "markup/parser/parser.h"
#include "markup/parser/xml_parser.h"
#include "markup/tree_dump.h"
#include "platform/messages.h"

namespace tools {

const char* const kParseHelp =
    "Usage: svgfilter parse FILE [--html] [--dictionaries DIR]\n"
    "\n"
    "Parses FILE as the SVG import does (XML, the parser's open dictionary)\n"
    "and prints its document tree, then its diagnostics (code, lines, texts);\n"
    "the engines' messages (a damaged dictionary) follow on standard error.\n"
    "  --html              parse as HTML with the default dictionary html.dic\n"
    "  --dictionaries DIR  the dictionary folder (CSS.dic, html.dic, NAME.dic);\n"
    "                      default $SVGFILTER_DICTIONARIES, else the build's\n"
    "Exit status 0 when the document parsed, 1 when it did not.\n";

namespace {

// Deeper levels are indented as this one.
constexpr std::size_t kMaxIndent = 64;

void PrintTree(const markup::DocTree& tree, std::ostream& out) {
    std::size_t depth = 0;
    for (const markup::Node* node = tree.Root(); node; node = node->FirstChild()) {
        if (++depth > kMaxIndent + 1) break;
    }
    markup::WriteTree(tree, kMaxIndent, [&](std::string_view piece) {
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    });
    if (depth > kMaxIndent + 1) {
        out << "# nesting deeper than " << kMaxIndent << " levels is indented as level " << kMaxIndent << "\n";
    }
    if (auto* diagnostics = dynamic_cast<const markup::ParseDiagnostics*>(tree.Option())) {
        out << markup::DumpDiagnostics(diagnostics->errors);
    }
}

// The engines' message boxes (a damaged dictionary, say) are held while the
// tree is printed and told after it; on failure the tool's one line says
// what went wrong.
class HeldSink : public platform::MessageSink {
  public:
    void Show(platform::MessageKind, const std::string&, const std::string& text) override {
        texts.push_back(text);
    }
    std::vector<std::string> texts;
};

std::string DictionaryFolder(const std::string& given) {
    std::string folder = given;
    if (folder.empty()) {
        if (const char* env = std::getenv("SVGFILTER_DICTIONARIES")) folder = env;
    }
#ifdef SVGFILTER_BUILD_DICTIONARIES
    if (folder.empty()) folder = SVGFILTER_BUILD_DICTIONARIES;
#endif
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

int RunParseCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string file;
    std::string folder;
    bool html = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << kParseHelp;
            return 0;
        }
        if (arg == "--html") {
            html = true;
        } else if (arg == "--dictionaries" && i + 1 < args.size()) {
            folder = args[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            err << "svgfilter parse: unknown flag " << arg << " (see svgfilter parse --help)\n";
            return 2;
        } else if (file.empty()) {
            file = arg;
        } else {
            err << "svgfilter parse: one file only (see svgfilter parse --help)\n";
            return 2;
        }
    }
    if (file.empty()) {
        err << "svgfilter parse: no file given (see svgfilter parse --help)\n";
        return 2;
    }
    if (IsDirectory(file)) {
        err << "svgfilter parse: " << file << ": the file could not be opened (it is a folder)\n";
        return 1;
    }
    // A FIFO would block the open and a device would be read without end.
    if (struct stat info {}; stat(file.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        err << "svgfilter parse: " << file << ": the file could not be opened (it is not a regular file)\n";
        return 1;
    }

    HeldSink held;
    platform::MessageSink* previous = platform::SetMessageSink(&held);
    markup::dtd::InstallRegistryCompiler();
    std::string cause;
    markup::WDOMHandle document;
    std::unique_ptr<markup::DocTree> htmlTree;
    if (html) {
        markup::DictionaryRegistry::Instance().Init(markup::String(DictionaryFolder(folder).c_str()));
        markup::XMLElementFactory factory;
        markup::Parser parser;
        htmlTree = parser.LoadDocument(markup::String(file.c_str()), &factory, nullptr, nullptr, 0);
        cause = parser.FailureCause();
        if (htmlTree) {
            // The nodes are dumped while their factory still lives.
            PrintTree(*htmlTree, out);
        }
    } else {
        markup::WXMLParser_WepImp parser;
        parser.Init(markup::String(DictionaryFolder(folder).c_str()));
        document = parser.Parse(file.c_str(), nullptr);
        cause = parser.FailureCause();
        if (auto* imp = dynamic_cast<markup::WDOMDocument_WepImp*>(document.Get())) {
            PrintTree(*imp->GetTree(), out);
        }
    }
    platform::SetMessageSink(previous);
    if (document.IsNull() && !htmlTree) {
        err << "svgfilter parse: " << file << ": " << (cause.empty() ? "the document could not be parsed" : cause)
            << "\n";
        return 1;
    }
    for (const std::string& text : held.texts) err << "svgfilter parse: " << file << ": " << text << "\n";
    return 0;
}

}  // namespace tools
