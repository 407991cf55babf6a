// XMLElementFactory: the node object for each type id of a parsed document.
#pragma once

#include <cstdint>

#include "markup/doc_tree.h"

namespace markup {

// Type ids 160 to 165 (text runs, whitespace, comments and declarations)
// make RunElements, 167 (entity references) EntityElements, every other id
// AttrElements. A node whose element the dictionary declares empty is
// marked so; its text and name come from `name` through its SetText; with
// keepFlags 0 it carries flag 8 (made by the tree builder).
class XMLElementFactory : public WebElementFactory {
  public:
    static constexpr std::uint32_t kFlagMadeByBuilder = 8;

    DocElement* Create(DictionaryBase* dictionary, std::uint32_t typeId, const String* name,
                       int keepFlags) override;

    // What every factory does to a node it made: the declared-empty mark,
    // the type id, the name through SetText, the builder flag. Null stays
    // null.
    static DocElement* SetUpNode(DocElement* node, DictionaryBase* dictionary, std::uint32_t typeId,
                                 const String* name, int keepFlags);
};

}  // namespace markup
