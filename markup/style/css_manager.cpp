// CSSManager: style texts into the sheet, and elements described for
// matching.
#include "markup/style/css_manager.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "markup/attr_element.h"
#include "markup/faults.h"
#include "markup/node_iterators.h"
#include "markup/parser/dictionary.h"
#include "markup/style/css_attribute_lookup.h"
#include "css_media.h"
#include "style_heap.h"

namespace markup::style {

CSSManager::CSSManager(const CSSDictionary& css)
    : css_(css),
      styleSheet_(detail::Make<CSSStyleSheet>(css)),
      attributeTokens_(detail::Make<Vector<CSSToken>>()),
      tokenizer_(detail::Make<CSSTokenizer>()),
      attributeProperties_(detail::Make<Vector<CSSProperty>>()),
      memo_(detail::Make<detail::DeclarationMemo>()) {}

CSSManager::~CSSManager() {
    styleSheet_.reset();
    attributeTokens_.reset();
    tokenizer_.reset();
    attributeProperties_.reset();
    memo_.reset();
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
    if (dictionary) {
        String name;
        if (dictionary->ElementNameById(typeId, name)) ids.name.assign(name.Text(), name.Length());
    }
    std::uint32_t id = 0;
    if (FindAttributeIdByName(dictionary, typeId, "id", id)) ids.id = id;
    if (FindAttributeIdByName(dictionary, typeId, "class", id)) ids.classes = id;
    if (FindAttributeIdByName(dictionary, typeId, "style", id)) ids.style = id;
    if (presentationNames_) FindPresentationIds(dictionary, typeId, ids.presentation);
    return attributeIds_.emplace(typeId, std::move(ids)).first->second;
}

void CSSManager::FindPresentationIds(const DictionaryBase* dictionary, std::uint32_t typeId,
                                     std::vector<std::pair<std::uint32_t, std::uint32_t>>& out) const {
    const std::vector<std::string>& names = presentationNames_->names;
    const auto* markupDictionary = dynamic_cast<const markup::Dictionary*>(dictionary);
    const ElementDef* definition = markupDictionary ? markupDictionary->FindElement(typeId) : nullptr;
    std::uint32_t id = 0;
    if (!definition || !markupDictionary->CaseSensitive()) {
        for (std::uint32_t i = 0; i < names.size(); ++i) {
            if (FindAttributeIdByName(dictionary, typeId, names[i].c_str(), id)) out.emplace_back(i, id);
        }
        return;
    }
    // In a case-sensitive dictionary the names are found from the type's
    // own attributes, a few where the names are some sixty; each found
    // name then takes the id a look-up by name gives.
    std::vector<std::uint32_t> found;
    for (const std::uint32_t attributeId : definition->Attributes()) {
        const HTMLAttributeDef* attribute = markupDictionary->Attributes().FindById(attributeId);
        if (!attribute) continue;
        const String& name = attribute->Name();
        const auto [first, last] = presentationNames_->places.equal_range(std::string_view(name.Text(), name.Length()));
        for (auto place = first; place != last; ++place) found.push_back(place->second);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    for (const std::uint32_t i : found) {
        if (FindAttributeIdByName(dictionary, typeId, names[i].c_str(), id)) out.emplace_back(i, id);
    }
}

std::string_view CSSManager::TypeName(std::uint32_t typeId) const {
    return AttributeIdsOf(typeId).name;
}

const Attribute* CSSManager::FindTypeAttribute(const AttrElement& element, std::int64_t id) const {
    return id < 0 ? nullptr : element.FindAttribute(static_cast<std::uint32_t>(id), false);
}

void CSSManager::CollectStyleElements() {
    if (!styleElement_) return;
    // A style element for other media (media="print") has no rules for
    // the screen.
    if (const AttrElement* element = AsAttrElement(styleElement_)) {
        const Attribute* media =
            FindAttributeByName(document_ ? document_->Dictionary() : nullptr, *element, "media");
        if (media && media->value.Length() &&
            !detail::MediaListApplies(std::string_view(media->value.Text(), media->value.Length()))) {
            return;
        }
    }
    // The element's text pieces are one sheet: an entity reference
    // ("&gt;" for a child combinator) splits the text into nodes, and
    // scanned apart they would make rules of their fragments.
    std::vector<const DocElement*> pieces;
    std::uint64_t length = 1;
    TerminalsIterator terminals(styleElement_);
    for (Node* node = terminals.First(); node; node = terminals.Next()) {
        // A style element without children is its own terminal; its text
        // field holds its name, not style text.
        if (node == styleElement_) continue;
        const auto* element = dynamic_cast<const DocElement*>(node);
        if (!element) throw InvalidArgumentFault();
        if (element->TypeId() == kKindMarkupDeclaration) continue;
        pieces.push_back(element);
        length += element->Text().Length();
    }
    if (pieces.empty()) return;
    // A single piece, the usual case, is read where it is rather than
    // copied.
    if (pieces.size() == 1) {
        AddStyleText(pieces[0]->Text(), 0);
        return;
    }
    // Room for the whole text first: String grows by a fixed step, and
    // comments may cut a sheet into a million pieces. Past 4 GB the
    // appends raise the memory fault.
    String text;
    text.Reserve(static_cast<std::uint32_t>(std::min<std::uint64_t>(length, UINT32_MAX)));
    for (const DocElement* element : pieces) text += element->Text();
    AddStyleText(text, 0);
}

void CSSManager::AddStyleText(const String& text, std::uint8_t origin) {
    styleSheet_->AddText(text, origin, -1);
}

namespace {

// The parsed tree as selectors see it, names and attributes from the
// document's dictionary, id and class by the ids the manager keeps.
class TreeElements : public SelectorElements {
  public:
    TreeElements(const CSSManager& manager, const DictionaryBase* dictionary)
        : manager_(manager), dictionary_(dictionary) {}

    Handle Parent(Handle handle) const override {
        for (const Node* at = Of(handle)->Parent(); at; at = at->Parent()) {
            if (const AttrElement* element = Styled(at)) return element;
            const DocElement* doc = DocElement::Of(at);
            if (!doc || doc->TypeId() == kKindDocument) return nullptr;
        }
        return nullptr;
    }
    Handle PreviousSibling(Handle handle) const override {
        for (const Node* at = Of(handle)->PreviousSibling(); at; at = at->PreviousSibling()) {
            if (const AttrElement* element = Styled(at)) return element;
        }
        return nullptr;
    }
    std::string_view Name(Handle handle) const override { return manager_.TypeName(Of(handle)->TypeId()); }
    bool Attribute(Handle handle, std::string_view name, std::string& value) const override {
        if (SameName(name, "class")) return Classes(handle, value);
        if (SameName(name, "id")) return Id(handle, value);
        const markup::AttributeList& all = Of(handle)->Attributes();
        for (std::uint32_t i = 0; i < all.Count(); ++i) {
            const markup::Attribute* attribute = all.At(i);
            if (!attribute) continue;
            const String written = attribute->GetName(dictionary_);
            if (!SameName(std::string_view(written.Text(), written.Length()), name)) continue;
            value.assign(attribute->value.Text(), attribute->value.Length());
            return true;
        }
        return false;
    }
    bool Id(Handle handle, std::string& value) const override {
        return manager_.ElementAttribute(*Of(handle), false, value);
    }
    bool Classes(Handle handle, std::string& value) const override {
        return manager_.ElementAttribute(*Of(handle), true, value);
    }

    // Nodes of the fixed kinds (texts, comments, the document node) are no
    // elements; neither is a node whose type has no name.
    const AttrElement* Styled(const Node* node) const {
        const AttrElement* element = node ? node->ToAttrElement() : nullptr;
        if (!element) return nullptr;
        const std::uint32_t type = element->TypeId();
        if (type >= kKindPlaceholder && type <= kMaxReportedType) return nullptr;
        const std::string_view name = Name(element);
        return name.empty() || name[0] == '!' ? nullptr : element;
    }

  private:
    static const AttrElement* Of(Handle handle) { return static_cast<const AttrElement*>(handle); }
    const CSSManager& manager_;
    const DictionaryBase* dictionary_;
};

}  // namespace

bool CSSManager::ElementAttribute(const AttrElement& element, bool classes, std::string& value) const {
    const TypeAttributeIds& ids = AttributeIdsOf(element.TypeId());
    const Attribute* attribute = FindTypeAttribute(element, classes ? ids.classes : ids.id);
    if (!attribute) return false;
    value.assign(attribute->value.Text(), attribute->value.Length());
    return true;
}

void CSSManager::CollectMatchingDeclarations(Node* node, Vector<CSSDeclaration>& out) const {
    const DictionaryBase* dictionary = document_ ? document_->Dictionary() : nullptr;
    const TreeElements elements(*this, dictionary);
    const AttrElement* element = dictionary ? elements.Styled(node) : nullptr;
    if (!element) {
        while (out.Count()) out.DeleteLast();
        return;
    }
    styleSheet_->CollectMatching(elements, element, out);
}

void CSSManager::CollectMatchingValues(Node* node, std::vector<CSSAppliedDeclaration>& out) const {
    out.clear();
    const DictionaryBase* dictionary = document_ ? document_->Dictionary() : nullptr;
    const TreeElements elements(*this, dictionary);
    if (const AttrElement* element = dictionary ? elements.Styled(node) : nullptr)
        styleSheet_->CollectMatchingValues(elements, element, out);
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
