// CSSManager: style texts into the sheet, and elements described for
// matching.
#include "markup/style/css_manager.h"

#include <vector>

#include "markup/attr_element.h"
#include "markup/faults.h"
#include "markup/node_iterators.h"
#include "markup/style/css_attribute_lookup.h"
#include "style_heap.h"

namespace markup::style {

CSSManager::CSSManager(const CSSDictionary& css)
    : css_(css),
      styleSheet_(detail::Make<CSSStyleSheet>(css)),
      attributeTokens_(detail::Make<Vector<CSSToken>>()),
      tokenizer_(detail::Make<CSSTokenizer>()),
      attributeProperties_(detail::Make<Vector<CSSProperty>>()),
      presentationProperties_(detail::Make<Vector<CSSProperty>>()) {}

CSSManager::~CSSManager() {
    styleSheet_.reset();
    attributeTokens_.reset();
    tokenizer_.reset();
    attributeProperties_.reset();
    presentationProperties_.reset();
    presentationTokens_.clear();
}

void CSSManager::SetDocument(DocTree* document) {
    document_ = document;
    ForgetAttributeIds();
}

void CSSManager::SetContext(Node* styleElement, DocTree* document) {
    styleElement_ = styleElement;
    document_ = document;
    ForgetAttributeIds();
}

void CSSManager::ForgetAttributeIds() {
    attributeIds_.clear();
    attributeIdsDictionary_ = nullptr;
}

const CSSManager::TypeAttributeIds& CSSManager::AttributeIdsOf(std::uint32_t typeId) const {
    const DictionaryBase* dictionary = document_ ? document_->Dictionary() : nullptr;
    if (dictionary != attributeIdsDictionary_) {
        attributeIds_.clear();
        attributeIdsDictionary_ = dictionary;
    }
    const auto hit = attributeIds_.find(typeId);
    if (hit != attributeIds_.end()) return hit->second;
    TypeAttributeIds ids;
    std::uint32_t id = 0;
    if (FindAttributeIdByName(dictionary, typeId, "id", id)) ids.id = id;
    if (FindAttributeIdByName(dictionary, typeId, "class", id)) ids.classes = id;
    if (FindAttributeIdByName(dictionary, typeId, "style", id)) ids.style = id;
    for (std::uint32_t i = 0; i < presentationNames_.size(); ++i) {
        if (FindAttributeIdByName(dictionary, typeId, presentationNames_[i].c_str(), id)) {
            ids.presentation.emplace_back(i, id);
        }
    }
    return attributeIds_.emplace(typeId, std::move(ids)).first->second;
}

const Attribute* CSSManager::FindTypeAttribute(const AttrElement& element, std::int64_t id) const {
    return id < 0 ? nullptr : element.FindAttribute(static_cast<std::uint32_t>(id), false);
}

void CSSManager::CollectStyleElements() {
    if (!styleElement_) return;
    TerminalsIterator terminals(styleElement_);
    for (Node* node = terminals.First(); node; node = terminals.Next()) {
        // A style element without children is its own terminal; its text
        // field holds its name, not style text.
        if (node == styleElement_) continue;
        const auto* element = dynamic_cast<const DocElement*>(node);
        if (!element) throw InvalidArgumentFault();
        if (element->TypeId() == kKindMarkupDeclaration) continue;
        AddStyleText(element->Text(), 0);
    }
}

void CSSManager::AddStyleText(const String& text, std::uint8_t origin) {
    styleSheet_->AddText(text, origin, -1);
}

namespace {

// The class strings of a "class" value: each piece between single blanks,
// with a leading "." (a piece that has one keeps it); two blanks in a row
// give the piece "" and so the class string ".". An empty value gives one
// empty class string.
void ClassStrings(const String& value, std::vector<String>& out) {
    if (value.IsEmpty()) {
        out.emplace_back();
        return;
    }
    const char* p = value.Text();
    std::uint32_t start = 0;
    for (std::uint32_t i = 0; i <= value.Length(); ++i) {
        if (i < value.Length() && p[i] != ' ') continue;
        const String piece = value.Mid(start, i - start);
        if (piece.Text()[0] == '.') {
            out.push_back(piece);
        } else {
            out.emplace_back(".");
            out.back() += piece;
        }
        start = i + 1;
    }
}

}  // namespace

void CSSManager::BuildSelectorDescs(Node* node, Vector<CSSSimpleSelectorDesc>& out) const {
    const AttrElement* element = AsAttrElement(node);
    if (!element) return;
    const DictionaryBase* dictionary = document_ ? document_->Dictionary() : nullptr;
    String name;
    if (dictionary) dictionary->ElementNameById(element->TypeId(), name);
    const TypeAttributeIds& ids = AttributeIdsOf(element->TypeId());
    String id;
    if (const Attribute* attribute = FindTypeAttribute(*element, ids.id)) {
        id = "#";
        id += attribute->value;
    }
    std::vector<String> classes;
    if (const Attribute* attribute = FindTypeAttribute(*element, ids.classes)) {
        ClassStrings(attribute->value, classes);
    } else {
        classes.emplace_back();
    }
    for (const String& classText : classes) out.Prepend(CSSSimpleSelectorDesc(name, classText, id));
}

}  // namespace markup::style
