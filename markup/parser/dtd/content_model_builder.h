// The content-model builder: an element declaration's content tokens to a
// tree of content symbols.
//
// The tokens first become a tree of two-child nodes: items, the groups that
// hold them while they are open, and a connective put above the item before
// each "|" or ",", so that a chain a, b, c nests to the right as a, (b, c).
// A closed group gives its place to its content, to which an indicator after
// ")" applies. The tree then turns into symbols.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "markup/dtd/diagnostics.h"
#include "markup/dtd/dtd_tokens.h"
#include "markup/parser/content_symbol.h"

namespace markup::dtd {

class ContentModelBuilder {
  public:
    using ElementIds = std::unordered_map<std::string, std::uint32_t>;

    ContentModelBuilder(const ElementIds& elementIds, DiagnosticSink& sink)
        : elementIds_(elementIds), sink_(sink) {}

    // The model of the tokens from the one after the element's name up to
    // its GT. Null when a name is not a declared element, when the tokens
    // do not form a model, or when the model would nest more connectives
    // than a dictionary file may hold.
    std::unique_ptr<ContentSymbol> Build(TokenList::const_iterator from, TokenList::const_iterator end);

  private:
    enum NodeKind : std::uint32_t {
        kNodeText = 0,
        kNodeElement = 1,
        kNodeConnective = 2,
        kNodeOpenGroup = 3,
        kNodeClosedGroup = 4,
        kNodeRoot = 5,
    };
    static constexpr int kNone = -1;

    struct Node {
        std::uint32_t kind;
        std::uint32_t occurrence = kOccurOnce;
        std::uint32_t connector = 0;
        std::uint32_t elementId = 0;
        int parent = kNone;
        int left = kNone;
        int right = kNone;
    };

    int NewNode(std::uint32_t kind);
    // Adds the node as the current node's first free child and makes it
    // current; false when both children are taken.
    bool Attach(int node);
    bool InsertConnective(std::uint32_t connector);
    bool CloseGroup();
    void ApplyIndicator(std::uint32_t occurrence);
    // The node itself, or for a group the first node below it that is no
    // group.
    int Content(int node) const;
    std::uint32_t ConnectiveDepth() const;
    std::unique_ptr<ContentSymbol> Convert(int node);

    const ElementIds& elementIds_;
    DiagnosticSink& sink_;
    std::vector<Node> nodes_;
    std::vector<int> openGroups_;
    int current_ = kNone;
};

}  // namespace markup::dtd
