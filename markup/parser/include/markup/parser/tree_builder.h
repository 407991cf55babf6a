// TreeBuilder: places the nodes the tokenizer made into the document tree.
//
// In XML mode nodes nest as written: an element stays open until its end
// tag, text and "/>" elements never do. In HTML mode the dictionary's
// content models drive SGML-style recovery: open elements that cannot hold
// the new one are closed, omitted start tags are implied, end tags match
// loosely, a closed element's content is repaired, formatting elements are
// carried into cell-like elements, and empty elements of the no-break kind
// receive a no-break space.
//
// Every identity test uses the stored type id (DocElement::TypeId), so ids
// an open dictionary learns above 185 keep elements apart.
//
// Frames: each element that stays open in HTML mode enters one frame pair of
// the TreeBuildState (its inclusions and exclusions), and closing it pops
// that pair, so the state always mirrors the open elements.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "markup/doc_element.h"
#include "markup/doc_tree.h"
#include "markup/parser/content_validator.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/parse_diagnostics.h"
#include "markup/parser/post_handler.h"
#include "markup/parser/token.h"
#include "markup/parser/tokenizer.h"
#include "markup/parser/tree_build_state.h"

namespace markup {

// Element groups and type ids the builder gives a meaning.
constexpr std::uint32_t kCarriedGroup = 3;         // formatting elements carried into cells
constexpr std::uint32_t kReceivesCarriedGroup = 16; // elements that reopen the carried ones
constexpr std::uint32_t kAncestorSearchBoundary = 18;
constexpr std::uint32_t kQuietImpliedElementId = 140;
constexpr std::uint32_t kMergedElementId = 25;     // later elements of this type merge into the first

class TreeBuilder : public ParseErrorHandler, public XmlModeListener {
  public:
    // Element flags of the builder.
    static constexpr std::uint32_t kFlagImplied = 2;
    // Nested content repairs stop at this depth.
    static constexpr std::uint32_t kMaxRepairDepth = 5;

    TreeBuilder();
    ~TreeBuilder() override;

    // Binds a document: nothing open, the next node the tree's first.
    void Begin(DocTree* tree, std::uint32_t xmlMode);
    void EnterXmlMode() override;

    // Places a start-tag or content token's node (taken off the token).
    // InvalidArgumentFault for a token without a node.
    void InsertElement(Token* token);
    // Closes elements for an end tag.
    void EndTag(Token* token);
    // The end of input: closes every open element, repairs, and leaves the
    // cursor at the root with no node marked implied.
    void CloseAll();
    // The post-processing walk: the document handlers see every node in
    // document order, and later elements of type 25 merge into the first.
    // Answers whether the document holds an element of type 25.
    bool AttachRoot();

    // The steps, public for the tests.
    void AddNode(DocElement* node);
    void PopElement();
    void InsertImplied(const IdList& ids, Token* token);
    DocElement* FindAcceptingAncestor(std::uint32_t id) const;
    void CheckAttributes(DocElement* element, Token* token);
    // Repairs the content of the element at the cursor; false when a
    // nested repair stopped at the depth limit.
    bool RepairContent();
    void ReopenCarried();

    DocElement* OpenElement() const { return openElement_; }
    bool LastClosed() const { return lastClosed_ != 0; }
    bool XmlMode() const { return xmlMode_ != 0; }
    // In XML mode, whitespace-only text directly inside an element of one of
    // these names (whose content is elements only) is not kept: a document
    // written a tag a line would otherwise hold a node for every line
    // break. Null (the default) keeps every node. The names outlive the
    // builder's use of them.
    void SetElementOnlyNames(const std::vector<std::string>* names);

    const std::vector<DocElement*>& Carried() const { return carried_; }
    const TreeBuildState& State() const { return state_; }
    PostHandler& Handler() { return postHandler_; }

  private:
    // The attribute repair's reports, as diagnostics of the current token.
    class Reporter : public ContentReporter {
      public:
        explicit Reporter(TreeBuilder& builder) : builder_(builder) {}
        void ReportOnAttribute(std::uint32_t code, AttrElement& element, Attribute& attribute) override;

      private:
        TreeBuilder& builder_;
    };

    Dictionary* GetDictionary() const;
    // The node stays open: its frame pair, and the carried elements for a
    // cell-like element.
    void Opened(DocElement* node);
    void PopFrames();
    void Diagnose(std::uint32_t code, DocElement* element);
    bool MatchesEndTag(const DocElement& element, std::uint32_t id, const Token& token) const;
    // Drops the carried elements that lie within the element.
    void ForgetCarried(const DocElement* element);
    // One level of repair below `element`; false when it hit the limit.
    bool RepairAt(DocElement* element, std::uint32_t depth);
    DocElement* MakeNode(std::uint32_t typeId, const String& name);
    // The element's content is elements only, by SetElementOnlyNames.
    bool HoldsElementsOnly(const DocElement* element);

    DocElement* openElement_ = nullptr;
    std::uint32_t reserved_ = 0;
    DocTree* tree_ = nullptr;
    Token* currentToken_ = nullptr;
    std::uint8_t lastClosed_ = 1;
    std::uint32_t xmlMode_ = 0;
    PostHandler postHandler_;
    TreeBuildState state_;
    std::vector<DocElement*> carried_;
    // The node placed or closed last: the next goes below it (lastClosed_
    // 0) or after it.
    Node* cursor_ = nullptr;
    Reporter reporter_;
    // Repairs nest through RepairAt; the count bounds the stack whatever
    // the content models ask.
    std::uint32_t repairCalls_ = 0;
    bool repairAborted_ = false;
    // Some element was marked implied, so CloseAll has marks to clear.
    bool impliedMarked_ = false;
    const std::vector<std::string>* elementOnlyNames_ = nullptr;
    // Per type id of the dictionary below: 0 not yet asked, 1 elements
    // only, 2 any content.
    std::vector<std::uint8_t> elementOnlyById_;
    const Dictionary* elementOnlyDictionary_ = nullptr;
    // Lent to every attribute repair.
    std::vector<AttributeStatus> attributeStatuses_;
    DictionaryCast dictionaryCast_;
};

}  // namespace markup
