// ContentMatcher: an element's live model with its exceptions and extra
// children, and the roles of node kinds in the content checks.
#include "content_matcher.h"

#include "markup/doc_element.h"
#include "markup/parser/content_validator.h"

namespace markup::detail {

namespace {

constexpr std::uint32_t kSignificantText = 164;
constexpr std::uint32_t kServerBlock = 168;  // "<%" ... "%>"

}  // namespace

ContentRole RoleOf(const Dictionary& dictionary, std::uint32_t typeId, std::uint32_t& contentId) {
    contentId = typeId;
    switch (typeId) {
        case kKindText:
        case kSignificantText:
        case kKindCData:
        case kKindEntityReference:
            contentId = kTextElementId;
            break;
        case kKindDeclaration:
        case kKindPlaceholder:
        case kKindWhitespace:
        case kKindMarkupDeclaration:
        case kServerBlock:
        case kKindInvalidElement:
        case kKindStrayEndTag:
        case kKindDocument:
            return ContentRole::kIgnored;
        default:
            break;
    }
    // The dictionary's own group of elements allowed anywhere may hold the
    // text kinds too; it has the last word.
    if (dictionary.GroupContains(typeId, ElementGroup::kAnywhere)) return ContentRole::kAnywhere;
    return ContentRole::kContent;
}

bool NodeType(const Node* node, std::uint32_t& typeId) {
    const auto* element = DocElement::Of(node);
    if (!element) return false;
    typeId = element->TypeId();
    return true;
}

ContentMatcher::ContentMatcher(const Dictionary& dictionary, const ElementDef& definition)
    : dictionary_(dictionary), definition_(definition) {
    if (definition.Model()) model_ = ElementContent::Create(*definition.Model());
}

ContentMatcher::ContentMatcher(const ContentMatcher& other)
    : dictionary_(other.dictionary_), definition_(other.definition_) {
    if (other.model_) model_ = other.model_->Clone();
}

bool ContentMatcher::Offer(std::uint32_t id, const IdList& inclusions, const IdList& exclusions) {
    if (exclusions.Contains(id)) return false;
    if (inclusions.Contains(id)) return true;
    if (!model_) return definition_.AllowedChildren().Contains(id);
    if (model_->Accept(id, dictionary_)) return true;
    return definition_.IsExtraChild(id);
}

bool ContentMatcher::WouldTake(std::uint32_t id, const IdList& inclusions, const IdList& exclusions) {
    if (exclusions.Contains(id)) return false;
    if (inclusions.Contains(id)) return true;
    if (!model_) return definition_.AllowedChildren().Contains(id);
    if (model_->Accept(id, dictionary_)) {
        model_->Undo();
        return true;
    }
    return definition_.IsExtraChild(id);
}

void ContentMatcher::Replay(const Node& element, const IdList& inclusions, const IdList& exclusions) {
    for (const Node* child = element.FirstChild(); child; child = child->NextSibling()) {
        std::uint32_t type = 0;
        if (!NodeType(child, type)) continue;
        std::uint32_t id = 0;
        if (RoleOf(dictionary_, type, id) == ContentRole::kIgnored) continue;
        Offer(id, inclusions, exclusions);
    }
}

std::uint32_t ContentMatcher::RequiredElement(const IdList& exclusions) const {
    if (!model_) return 0;
    std::unique_ptr<ElementContent> work = model_->Clone();
    const std::uint32_t id = work->NextElement(true, dictionary_);
    if (id == 0 || id >= kFirstNeverImpliedId || exclusions.Contains(id)) return 0;
    // An element that would not count as content once placed would be asked
    // for again and again.
    std::uint32_t contentId = 0;
    if (RoleOf(dictionary_, id, contentId) == ContentRole::kIgnored) return 0;
    return id;
}

}  // namespace markup::detail
