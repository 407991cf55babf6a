// ContentMatcher: one element's content as the content checks see it, the
// live model of its definition together with the children the definition
// allows outside the model.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/node.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/element_content.h"

namespace markup::detail {

// How a node of a type takes part in the content checks.
enum class ContentRole {
    kIgnored,   // not content: comments, declarations, whitespace before markup, stray
                // end tags, invalid elements, wrappers
    kAnywhere,  // a member of the group of elements allowed in any content
    kContent,   // text or an element the model must take
};

constexpr std::uint32_t kDocumentNodeId = 173;
constexpr std::uint32_t kWrapperId = 159;

// The role of a type, and the id under which it is offered: every kind of
// character data (text runs, CDATA sections, entity references) as text.
ContentRole RoleOf(const Dictionary& dictionary, std::uint32_t typeId, std::uint32_t& contentId);

// The stored type id of a node; false for a node that is not a DocElement.
bool NodeType(const Node* node, std::uint32_t& typeId);

class ContentMatcher {
  public:
    ContentMatcher(const Dictionary& dictionary, const ElementDef& definition);
    ContentMatcher(const ContentMatcher& other);
    ContentMatcher& operator=(const ContentMatcher&) = delete;

    // Takes the id as the next child. Excluded ids are refused, included ids
    // and the definition's extra children are taken without moving the
    // model; without a model the allowed children decide.
    bool Offer(std::uint32_t id, const IdList& inclusions, const IdList& exclusions);
    // Whether Offer would take the id; the state stays as it is (what the
    // model takes it gives back at once, which costs less than a copy of a
    // model that holds many children).
    bool WouldTake(std::uint32_t id, const IdList& inclusions, const IdList& exclusions);
    // Replays the element's children, as the content checks see them, in
    // order; the ones it would refuse are passed over.
    void Replay(const Node& element, const IdList& inclusions, const IdList& exclusions);
    bool CanEnd() const { return !model_ || model_->CanEnd(); }
    // An element the content still requires and the model names (below the
    // ids that are never implied); 0 when none.
    std::uint32_t RequiredElement(const IdList& exclusions) const;

    const ElementDef& Definition() const { return definition_; }

  private:
    const Dictionary& dictionary_;
    const ElementDef& definition_;
    std::unique_ptr<ElementContent> model_;
};

}  // namespace markup::detail
