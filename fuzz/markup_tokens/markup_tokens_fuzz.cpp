// The markup tokenizer on arbitrary bytes, as an HTML document over a small
// closed dictionary and as an XML document over an open one: never a crash,
// a leak or a hang, and every start token but the first carries a node.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "markup/local_file_stream.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/dictionary_registry.h"
#include "markup/parser/token_dump.h"
#include "markup/parser/tokenizer.h"
#include "markup/parser/xml_element_factory.h"
#include "memory_file.h"
#include "platform/messages.h"

namespace {

class NoMessages : public platform::MessageSink {
  public:
    void Show(platform::MessageKind, const std::string&, const std::string&) override {}
};

// p (with content, taking align), br (empty), the entity "&amp;".
std::unique_ptr<markup::Dictionary> ClosedDictionary() {
    using namespace markup;
    auto d = std::make_unique<Dictionary>();
    d->CreateEditor();
    d->Entities().Add("&amp;", "&");
    auto align = std::make_unique<HTMLAttributeDef>();
    align->SetId(5);
    align->SetName("align");
    d->Attributes().Insert(std::move(align));
    auto p = std::make_unique<ElementDef>();
    p->SetId(12);
    p->SetName("p");
    p->AddAttribute(5);
    p->AddExtraChild(kKindText);
    d->Elements().Insert(std::move(p));
    auto br = std::make_unique<ElementDef>();
    br->SetId(13);
    br->SetName("br");
    d->Elements().Insert(std::move(br));
    return d;
}

std::unique_ptr<markup::Dictionary> OpenDictionary() {
    auto d = std::make_unique<markup::Dictionary>();
    d->SetCaseSensitive(true);
    d->SetOpen(true);
    d->CreateEditor();
    return d;
}

void Scan(const std::string& path, markup::Dictionary* dictionary, bool xml) {
    markup::ReturnCodeEnum status = markup::kErr_None;
    std::unique_ptr<markup::LocalFileStream> stream(markup::LocalFileStream::Create(path.c_str(), status));
    if (!stream || stream->Open(4096, markup::kStreamRead) != markup::kErr_None) std::abort();
    markup::XMLElementFactory factory;
    markup::DocTree tree(&factory, nullptr);
    tree.SetDictionary(dictionary);
    markup::ErrorList errors;
    markup::Tokenizer tokenizer;
    tokenizer.SetErrors(&errors);
    tokenizer.Begin(stream.get(), nullptr, &tree, path.c_str(), xml ? 1 : 0);
    try {
        bool first = true;
        while (markup::Token* token = tokenizer.NextToken()) {
            if (token->IsStartTag() && !token->node) std::abort();
            markup::DumpToken(*token, tokenizer.GetDictionary());
            if (!first && token->IsStartTag() && token->node->TypeId() == markup::kKindDocument) std::abort();
            first = false;
        }
    } catch (const markup::Fault&) {
        // A fatal diagnostic ends the scan; nothing more is asked of it.
    }
    tokenizer.Reset();
    if (errors.Count() > markup::ParseErrorHandler::kMaxErrors) std::abort();
    stream->Close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NoMessages quiet;
    static platform::ScopedMessageSink sink(&quiet);
    if (size > 65536) return -1;
    const std::string& path = fuzzsupport::MemoryFileWith(data, size);
    // A registry of its own for each input: DOCTYPE declarations register
    // dictionaries, and no .dic file of the working directory is read.
    markup::DictionaryRegistry::Instance().Init("/nonexistent-svgfilter-fuzz/");
    auto closed = ClosedDictionary();
    Scan(path, closed.get(), false);
    auto open = OpenDictionary();
    Scan(path, open.get(), true);
    markup::Singleton<markup::DictionaryRegistry>::Release();
    return 0;
}
