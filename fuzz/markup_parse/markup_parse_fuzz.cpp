// The whole parse on arbitrary bytes: as the SVG import reads a file (XML
// over the front end's open dictionary, DTDs compiled through the registry
// hook) and as an HTML document over the default dictionary. Never a crash,
// a leak or a hang; a parse gives a tree or a clean failure.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "markup/attr_element.h"
#include "markup/doc_element.h"
#include "markup/dtd/registry_hook.h"
#include "markup/node_iterators.h"
#include "markup/parser/dictionary_registry.h"
#include "markup/parser/dom/dom_document.h"
#include "markup/parser/parse_diagnostics.h"
#include "markup/parser/parser.h"
#include "markup/parser/xml_parser.h"
#include "markup/tree_dump.h"
#include "memory_file.h"
#include "platform/messages.h"

namespace {

class NoMessages : public platform::MessageSink {
  public:
    void Show(platform::MessageKind, const std::string&, const std::string&) override {}
};

// The bytes of the tree's texts and attribute values, counted until they
// reach `bound`.
std::size_t TextBytes(markup::DocTree& tree, std::size_t bound) {
    if (!tree.Root()) return 0;
    std::size_t bytes = 0;
    markup::SubtreeIterator walk(&tree, tree.Root());
    for (markup::Node* node = walk.First(); node && bytes < bound; node = walk.Next()) {
        const markup::DocElement* element = markup::DocElement::Of(node);
        if (!element) continue;
        bytes += element->Text().Length();
        if (const markup::AttrElement* attributes = markup::AsAttrElement(element)) {
            for (std::uint32_t i = 0; i < attributes->Attributes().Count(); ++i) {
                if (const markup::Attribute* attribute = attributes->Attributes().At(i)) {
                    bytes += attribute->value.Length();
                }
            }
        }
    }
    return bytes;
}

void CheckDiagnostics(const markup::DocTree& tree) {
    auto* diagnostics = dynamic_cast<const markup::ParseDiagnostics*>(tree.Option());
    if (!diagnostics || diagnostics->errors.Count() > markup::ParseErrorHandler::kMaxErrors) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NoMessages quiet;
    static platform::ScopedMessageSink sink(&quiet);
    if (size > 65536) return -1;
    const std::string& path = fuzzsupport::MemoryFileWith(data, size);
    // No dictionary files; each input starts from the dictionaries of a
    // process that parsed nothing (see the end).
    markup::DictionaryRegistry::Instance().Init("/nonexistent-svgfilter-fuzz/");
    markup::dtd::InstallRegistryCompiler();
    {
        markup::WXMLParser_WepImp front;
        front.Init("/nonexistent-svgfilter-fuzz/");
        const markup::WDOMHandle document = front.Parse(path.c_str(), nullptr);
        if (document.IsNull()) {
            if (front.FailureCause().empty()) std::abort();
        } else if (auto* imp = dynamic_cast<markup::WDOMDocument_WepImp*>(document.Get())) {
            CheckDiagnostics(*imp->GetTree());
            // The dump's every path shows on small trees; an input can
            // expand its entities to a megabyte of text, which the dump,
            // a test a byte, would then take most of the run writing.
            constexpr std::size_t kDumpedBytes = 64 * 1024;
            if (TextBytes(*imp->GetTree(), kDumpedBytes) < kDumpedBytes) markup::DumpTree(*imp->GetTree(), 8);
        }
    }
    {
        markup::XMLElementFactory factory;
        markup::Parser parser;
        std::unique_ptr<markup::DocTree> tree = parser.LoadDocument(path.c_str(), &factory, nullptr, nullptr, 0);
        if (tree) CheckDiagnostics(*tree);
    }
    // What the input taught the registry goes; the default dictionary,
    // which no document changes, is kept rather than built for each input.
    markup::DictionaryRegistry::Instance().ForgetDictionaries();
    return 0;
}
