// CSSManager: the one object through which a parsed document gets its
// style sheet and its cascade.
//
// The document tree made for a parse is attached to it; the parser's
// post-processing of "style" elements and linked sheets feeds their text
// into its sheet; the style engine describes elements through it and runs
// the cascade. It also keeps a tokenizer and the token and property lists
// that the cascade rebuilds for each "style" attribute. One manager serves
// one document parse.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "markup/attr_element.h"
#include "markup/attribute.h"
#include "markup/containers.h"
#include "markup/css_base_manager.h"
#include "markup/doc_tree.h"
#include "markup/node.h"
#include "markup/parser/css_dictionary.h"
#include "markup/string.h"
#include "markup/style/css_applied_value.h"
#include "markup/style/css_declaration_memo.h"
#include "markup/style/css_element.h"
#include "markup/style/css_selector.h"
#include "markup/style/css_style_sheet.h"
#include "markup/style/css_token.h"
#include "markup/style/css_tokenizer.h"
#include "markup/style/graphics.h"
#include "markup/style/style_properties.h"

namespace markup::style {

// The names of presentation attributes in their order, with the places of
// each name.
struct PresentationNames {
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
    };
    std::vector<std::string> names;
    std::unordered_multimap<std::string, std::uint32_t, Hash, std::equal_to<>> places;

    void Add(std::string name) {
        places.emplace(name, static_cast<std::uint32_t>(names.size()));
        names.push_back(std::move(name));
    }
};

class CSSManager : public CSSBaseManager {
  public:
    // The dictionary of properties and keywords; it must outlive the
    // manager.
    explicit CSSManager(const CSSDictionary& css);
    ~CSSManager() override;
    CSSManager(const CSSManager&) = delete;
    CSSManager& operator=(const CSSManager&) = delete;

    void SetDocument(DocTree* document) override;
    void SetContext(Node* styleElement, DocTree* document) override;
    // Adds the text of every terminal below the current style element, one
    // style text each, in document order; comments and declarations
    // (type 165) are passed over, and an element with no children adds
    // nothing. InvalidArgumentFault for a terminal that is not a DocElement.
    void CollectStyleElements() override;
    // Appends the text to the sheet after the texts already there.
    void AddStyleText(const String& text, std::uint8_t origin) override;
    // The cascade into a StyleProperties record (any other object is left
    // alone), applied in CSS's order so that each later one overwrites:
    // the presentation attributes, the sheet's normal declarations, the
    // "style" attribute's normal ones, the sheet's "!important" ones, the
    // "style" attribute's "!important" ones.
    void ApplyCascade(Node* node, ExtraObject* style) override;
    void ApplyCascade(Node* node, StyleProperties* style);

    // The sheet's declarations whose selectors match the node in the
    // document tree, in the cascade's order (normal, then "!important",
    // each by specificity and sheet order); `out` is emptied first.
    // Nothing for the document node, texts and comments, or without a
    // document.
    void CollectSheetDeclarations(Node* node, Vector<CSSDeclaration>& out);
    void CollectMatchingDeclarations(Node* node, Vector<CSSDeclaration>& out) const;
    // The same as the cascade applies them, without making the rules'
    // objects (CSSStyleSheet::CollectMatchingValues).
    void CollectMatchingValues(Node* node, std::vector<CSSAppliedDeclaration>& out) const;
    // The element's "id" (or, with classes, "class") attribute value.
    bool ElementAttribute(const AttrElement& element, bool classes, std::string& value) const;
    // Appends the declarations of the node's "style" attribute. They refer
    // to the manager's attribute lists, valid until the next call.
    void CollectStyleAttribute(Node* node, Vector<CSSDeclaration>& out);
    // Presentation attributes: attributes named like a CSS property (fill,
    // stroke-width, ...) that count as declarations below every sheet rule
    // and the "style" attribute. Only the names added here count; none do
    // until a reader adds them; the cascade applies each such attribute the
    // node carries, in the order of the names added.
    void AddPresentationAttribute(const String& name);
    // All the names at once: a list a reader makes once and gives every
    // document's manager.
    void SetPresentationAttributes(std::shared_ptr<const PresentationNames> names);
    void ClearPresentationAttributes();
    // The apply loop over the declarations' values, in order.
    void ApplyDeclarations(const std::vector<CSSAppliedDeclaration>& declarations, StyleProperties* style);

    // Value conversions into the record's storage (units: 1 absolute in
    // engine units, 2 percent, 3 anything else unconverted).
    static void ConvertLength(const CSSAppliedValue& value, const StyleProperties& style, std::int32_t& out,
                              std::int32_t& unit);
    static void ConvertLengthDouble(const CSSAppliedValue& value, const StyleProperties& style, double& out,
                                    std::int32_t& unit);
    static void ConvertRelative(const CSSAppliedValue& value, const StyleProperties& style,
                                std::int32_t& current);
    static void ConvertAbsolute(const CSSAppliedValue& value, const StyleProperties& style,
                                std::int32_t& out);
    static void ConvertAbsoluteDouble(const CSSAppliedValue& value, const StyleProperties& style,
                                      double& out);
    static std::int32_t ConvertUnitToDevice(Graphics& graphics, float number, std::uint32_t unit);
    static void ConvertLineHeight(const CSSAppliedValue& value, const StyleProperties& style,
                                  std::int32_t& current);
    static void ApplyPaddingValue(const CSSAppliedValue& value, const StyleProperties& style,
                                  std::int32_t& current, std::int32_t& unit);
    static void ApplyMarginValue(const CSSAppliedValue& value, const StyleProperties& style,
                                 std::int32_t& current, std::int32_t& unit);
    static void ApplyBorderWidthValue(const CSSAppliedValue& value, const StyleProperties& style,
                                      std::int32_t& current);
    static void GetURLText(const CSSAppliedValue& value, String& out);

    // The element as selectors see it, one description per word of its
    // "class" attribute (split at each single blank), each put in front of
    // `out`, so the words end last to first. Nothing for a node that is not
    // an element with attributes. Names and attributes come from the
    // document's dictionary.
    void BuildSelectorDescs(Node* node, Vector<CSSSimpleSelectorDesc>& out) const;
    // The document dictionary's name of an element type, looked up once a
    // type; valid until the document or its dictionary changes.
    std::string_view TypeName(std::uint32_t typeId) const;

    CSSStyleSheet& StyleSheet() { return *styleSheet_; }
    const CSSStyleSheet& StyleSheet() const { return *styleSheet_; }
    DocTree* Document() const { return document_; }
    Node* StyleElement() const { return styleElement_; }
    const CSSDictionary& Dictionary() const { return css_; }
    // For the "style" attributes the cascade reads.
    CSSTokenizer& Tokenizer() { return *tokenizer_; }
    Vector<CSSToken>& AttributeTokens() { return *attributeTokens_; }
    Vector<CSSProperty>& AttributeProperties() { return *attributeProperties_; }

  private:
    // The attribute ids the cascade reads, as an element of one type has
    // them in the document's dictionary (-1: none): found by name once per
    // type, not once per element.
    struct TypeAttributeIds {
        std::int64_t id = -1;
        std::int64_t classes = -1;
        std::int64_t style = -1;
        std::string name;
        // Index into presentationNames_, and the attribute id.
        std::vector<std::pair<std::uint32_t, std::uint32_t>> presentation;
    };
    const TypeAttributeIds& AttributeIdsOf(std::uint32_t typeId) const;
    void FindPresentationIds(const DictionaryBase* dictionary, std::uint32_t typeId,
                             std::vector<std::pair<std::uint32_t, std::uint32_t>>& out) const;
    const Attribute* FindTypeAttribute(const AttrElement& element, std::int64_t id) const;
    void ForgetAttributeIds();
    // The values the cascade applies from the node's "style" attribute
    // (none without one) and, appended to `out`, from its presentation
    // attributes, each read once for every distinct text.
    const detail::DeclarationMemo::Values* StyleAttributeValues(Node* node);
    void PresentationValues(Node* node, std::vector<CSSAppliedDeclaration>& out);

    const CSSDictionary& css_;
    Node* styleElement_ = nullptr;
    DocTree* document_ = nullptr;
    std::unique_ptr<CSSStyleSheet> styleSheet_;
    std::unique_ptr<Vector<CSSToken>> attributeTokens_;
    std::unique_ptr<CSSTokenizer> tokenizer_;
    std::unique_ptr<Vector<CSSProperty>> attributeProperties_;
    // The presentation attributes' names.
    std::shared_ptr<const PresentationNames> presentationNames_;
    // The values of the declaration texts the cascade read, and how many
    // cascades run inside one another (the memo settles at the outermost).
    std::unique_ptr<detail::DeclarationMemo> memo_;
    int cascadeDepth_ = 0;
    mutable std::unordered_map<std::uint32_t, TypeAttributeIds> attributeIds_;
    mutable const DictionaryBase* attributeIdsDictionary_ = nullptr;
};

}  // namespace markup::style
