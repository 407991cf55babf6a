// WerElementFactory: the node object for each element type of a document
// parsed for style work.
#pragma once

#include <cstdint>

#include "markup/doc_tree.h"

namespace markup::style {

// Type ids 7, 45, 59-64, 109, 113, 159, 139, 141, 146, 103 and 166 get the
// classes of html_elements.h; 160-165 text runs, 167 entity references,
// every other id a plain element with attributes.
class WerElementFactory : public WebElementFactory {
  public:
    // Flag of a node the tree builder made (keepFlags 0).
    static constexpr std::uint32_t kFlagMadeByBuilder = 8;

    // The bare node of the type's class; null when memory runs out.
    static DocElement* CreateElement(std::uint32_t typeId);
    // The node set up with its type, declared-empty mark, name and flags.
    // MemoryAllocationFault when no node could be made.
    DocElement* Create(DictionaryBase* dictionary, std::uint32_t typeId, const String* name,
                       int keepFlags) override;
};

}  // namespace markup::style
