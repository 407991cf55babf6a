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

#include "markup/containers.h"
#include "markup/css_base_manager.h"
#include "markup/doc_tree.h"
#include "markup/node.h"
#include "markup/parser/css_dictionary.h"
#include "markup/string.h"
#include "markup/style/css_element.h"
#include "markup/style/css_selector.h"
#include "markup/style/css_style_sheet.h"
#include "markup/style/css_token.h"
#include "markup/style/css_tokenizer.h"

namespace markup::style {

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
    // Leaves the record as it is: the apply loop and the record's setters
    // come with the computed style.
    void ApplyCascade(Node* node, ExtraObject* style) override;

    // The element as selectors see it, one description per word of its
    // "class" attribute (split at each single blank), each put in front of
    // `out`, so the words end last to first. Nothing for a node that is not
    // an element with attributes. Names and attributes come from the
    // document's dictionary.
    void BuildSelectorDescs(Node* node, Vector<CSSSimpleSelectorDesc>& out) const;

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
    const CSSDictionary& css_;
    Node* styleElement_ = nullptr;
    DocTree* document_ = nullptr;
    std::unique_ptr<CSSStyleSheet> styleSheet_;
    std::unique_ptr<Vector<CSSToken>> attributeTokens_;
    std::unique_ptr<CSSTokenizer> tokenizer_;
    std::unique_ptr<Vector<CSSProperty>> attributeProperties_;
};

}  // namespace markup::style
