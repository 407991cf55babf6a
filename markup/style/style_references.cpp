// References of the computed style: "#id" within the document, and other
// documents loaded by URL, fetched when no local copy exists and cached in
// the pane document.
#include <memory>
#include <string>
#include <unordered_map>

#include "markup/attr_element.h"
#include "markup/node_iterators.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/dictionary_registry.h"
#include "markup/parser/parser.h"
#include "markup/parser/xml_element_factory.h"
#include "markup/style/css_manager.h"
#include "markup/style/style_properties.h"
#include "markup/style/style_url_loader.h"
#include "markup/url.h"
#include "markup/url_mapper.h"
#include "markup/web_fetch.h"
#include "platform/latin1_text.h"
#include "style_values.h"

namespace markup::style {

namespace {

bool SameText(const String& a, const String& b) {
    return a.Length() == b.Length() && String::CompareCase(a, b, false) == 0;
}

// The id the document's dictionary gives the attribute name "id"
// (lower-cased first unless the dictionary tells case).
bool IdAttribute(const DocTree* document, std::uint32_t& id) {
    const auto* dictionary = dynamic_cast<const Dictionary*>(document->Dictionary());
    if (!dictionary) return false;
    String key("id");
    char* text = nullptr;
    if (!dictionary->CaseSensitive() && key.GetBuffer(text)) platform::CharLowerA(text);
    const HTMLAttributeDef* definition = dictionary->Attributes().FindByName(key);
    if (!definition) return false;
    id = definition->Id();
    return true;
}

// A loaded tree with the node factory it keeps using; the tree goes first.
struct LoadedTree {
    std::unique_ptr<XMLElementFactory> factory;
    std::unique_ptr<DocTree> tree;
};

// The markup parser in XML mode over the registry's open dictionary of
// "Blank", with a CSS manager of the tree's own.
std::shared_ptr<DocTree> ParseWithMarkupParser(const String& localFile) {
    DictionaryRegistry& registry = DictionaryRegistry::Instance();
    Dictionary* dictionary = registry.CreateDictionary("Blank");
    if (!dictionary) return nullptr;
    std::unique_ptr<CSSManager> manager;
    if (CSSDictionary* css = registry.CSS()) manager = std::make_unique<CSSManager>(*css);
    auto loaded = std::make_shared<LoadedTree>();
    loaded->factory = std::make_unique<XMLElementFactory>();
    Parser parser;
    parser.SetXmlMode(1);
    loaded->tree = parser.LoadDocument(localFile, loaded->factory.get(), dictionary, manager.get(), 0);
    if (!loaded->tree) return nullptr;
    if (manager) loaded->tree->AdoptStyleManager(std::move(manager));
    DocTree* tree = loaded->tree.get();
    return std::shared_ptr<DocTree>(std::move(loaded), tree);
}

StyleDocumentParser& InstalledParser() {
    static StyleDocumentParser parser = ParseWithMarkupParser;
    return parser;
}

}  // namespace

namespace {

// An attribute value as the index keys it: its length and its text up to a
// zero byte, without case (as SameText compares).
std::string IndexKey(const String& value) {
    std::string key = std::to_string(value.Length()) + ':';
    for (const char* p = value.Text(); *p; ++p) key += static_cast<char>(platform::Latin1Lower(static_cast<unsigned char>(*p)));
    return key;
}

// The first element (in the walk's order) for each value of one attribute
// in one document, made once and again only after a tree was edited, so that
// each reference costs a look-up rather than a walk of the tree.
struct AttributeIndex {
    const DocTree* document = nullptr;
    std::uint32_t attributeId = 0;
    std::uint64_t edits = 0;
    std::unordered_map<std::string, Node*> first;
};

const AttributeIndex& IndexOf(DocTree* document, std::uint32_t attributeId) {
    // Not thread_local: the engine serves one thread at a time, and a
    // thread-local object with a destructor in this loaded module made the
    // leak checker's walk of dynamic TLS fail at exit.
    static AttributeIndex index;
    if (index.document == document && index.attributeId == attributeId && index.edits == TreeEdits()) return index;
    index.first.clear();
    index.document = document;
    index.attributeId = attributeId;
    index.edits = TreeEdits();
    SubtreeIterator walk(document, document->Root());
    for (Node* node = walk.First(); node; node = walk.Next()) {
        const AttrElement* element = AsAttrElement(node);
        if (!element) continue;
        const Attribute* attribute = element->FindAttribute(attributeId, false);
        if (attribute) index.first.emplace(IndexKey(attribute->value), node);
    }
    return index;
}

}  // namespace

Node* FindElementByAttribute(DocTree* document, std::uint32_t typeId, std::uint32_t attributeId,
                             const String& value) {
    if (!document || !document->Root()) return nullptr;
    if (typeId == 0) {
        const AttributeIndex& index = IndexOf(document, attributeId);
        const auto hit = index.first.find(IndexKey(value));
        return hit == index.first.end() ? nullptr : hit->second;
    }
    SubtreeIterator walk(document, document->Root());
    for (Node* node = walk.First(); node; node = walk.Next()) {
        const AttrElement* element = AsAttrElement(node);
        if (!element || element->TypeId() != typeId) continue;
        const Attribute* attribute = element->FindAttribute(attributeId, false);
        if (attribute && SameText(attribute->value, value)) return node;
    }
    return nullptr;
}

void SetStyleDocumentParser(StyleDocumentParser parser) {
    InstalledParser() = parser ? std::move(parser) : StyleDocumentParser(ParseWithMarkupParser);
}

StyleReference StyleProperties::ResolveReference(const String* text) {
    if (!text || text->IsEmpty()) return StyleReference();
    if (text->Text()[0] == '#') {
        DocTree* document = pane_ ? pane_->Tree() : nullptr;
        StyleReference reference{document, nullptr};
        std::uint32_t id = 0;
        if (document && IdAttribute(document, id)) {
            reference.element = FindElementByAttribute(document, 0, id, text->Mid(1));
        }
        return reference;
    }
    DocTree* loaded = LoadURLResource(*text);
    if (!loaded) return StyleReference();
    Node* root = loaded->Root();
    return StyleReference{loaded, AsAttrElement(root) ? root : nullptr};
}

DocTree* StyleProperties::LoadURLResource(const String& url) {
    String absolute = url;
    URLSpec base;
    if (pane_) base = pane_->GetBaseURL();
    if (!MakeAbsolute(absolute, base)) absolute = url;
    if (pane_) {
        if (DocTree* cached = pane_->LoadedDocument(absolute)) return cached;
    }
    URLSpec spec;
    spec.Parse(absolute);
    String local;
    if (!URLMapper::Instance().Resolve(absolute, spec.HostRef(), String(), local, true) || local.IsEmpty()) {
        return nullptr;
    }
    if (!FetchIfMissing(absolute, local, kWebSessionStyle)) return nullptr;
    std::shared_ptr<DocTree> tree = InstalledParser()(local);
    if (!tree) return nullptr;
    if (pane_) return pane_->KeepLoadedDocument(absolute, std::move(tree));
    values_->ownLoaded.push_back(tree);
    return tree.get();
}

}  // namespace markup::style
