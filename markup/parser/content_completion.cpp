// ElementContentValidator::CheckCompleted: whether a closed element's
// children satisfy its definition, and what the repair needs.
#include "content_matcher.h"
#include "markup/parser/content_validator.h"

namespace markup {

using detail::ContentMatcher;
using detail::ContentRole;
using detail::kDocumentNodeId;
using detail::NodeType;
using detail::RoleOf;

namespace {

// Exactly one root element, beside which only elements allowed anywhere and
// the other document-level element may stand.
std::uint32_t CheckDocument(const Dictionary& dictionary, const Node& document, std::uint32_t& position,
                            std::uint32_t& missingType) {
    std::uint32_t flags = 0;
    bool rooted = false;
    std::uint32_t index = 0;
    for (const Node* child = document.FirstChild(); child; child = child->NextSibling(), ++index) {
        std::uint32_t type = 0;
        std::uint32_t id = 0;
        if (!NodeType(child, type) || RoleOf(dictionary, type, id) != ContentRole::kContent) continue;
        if (id == kDocumentLevelElementId) continue;
        if (id == kRootElementId && !rooted) {
            rooted = true;
            continue;
        }
        if (flags == 0) {
            flags = kContentNeedsRepair;
            position = index;
        }
    }
    if (!rooted) {
        flags |= kContentLacksElement;
        missingType = kRootElementId;
    }
    return flags;
}

}  // namespace

std::uint32_t ElementContentValidator::CheckCompleted(const Dictionary& dictionary, const Node& element,
                                                      std::uint32_t& position, std::uint32_t& missingType) {
    position = kNoPosition;
    missingType = 0;
    if (dictionary.CaseSensitive() || dictionary.IsOpen()) return 0;
    std::uint32_t type = 0;
    if (!NodeType(&element, type)) return 0;
    if (type == kDocumentNodeId) return CheckDocument(dictionary, element, position, missingType);
    const ElementDef* definition = dictionary.FindElement(type);
    if (!definition) return 0;

    IdList inclusions;
    IdList exclusions;
    CollectExceptions(dictionary, inclusions, exclusions, &element, nullptr);
    ContentMatcher matcher(dictionary, *definition);
    std::uint32_t flags = 0;
    std::uint32_t index = 0;
    for (const Node* child = element.FirstChild(); child; child = child->NextSibling(), ++index) {
        std::uint32_t childType = 0;
        std::uint32_t id = 0;
        if (!NodeType(child, childType)) continue;
        const ContentRole role = RoleOf(dictionary, childType, id);
        if (role == ContentRole::kIgnored) continue;
        // Elements allowed anywhere still take their place in the model when
        // it names them.
        if (matcher.Offer(id, inclusions, exclusions) || role == ContentRole::kAnywhere) continue;
        flags = kContentNeedsRepair;
        position = index;
        break;
    }
    if (flags == 0 && matcher.CanEnd()) return 0;
    flags |= kContentNeedsRepair;
    if (const std::uint32_t required = matcher.RequiredElement(exclusions)) {
        flags |= kContentLacksElement;
        missingType = required;
    }
    return flags;
}

}  // namespace markup
