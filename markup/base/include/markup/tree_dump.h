// A plain-text form of a document tree, for comparing trees in tests and for
// showing what a parse built.
//
// One line per node, in document order, indented two spaces per level of
// nesting (top-level nodes, the root and any siblings of it, at column 0):
//
//   KIND TYPE[ name="NAME"][ text="TEXT"][ flags=0xHEX][ empty][ extra]
//
// KIND is the node's class as far as this library knows it: "element"
// (AttrElement, or a class derived from it), "run" (RunElement), "entity"
// (EntityElement), "doc" (any other DocElement) or "node" (a Node that is no
// DocElement; nothing else follows on its line). TYPE is the stored type id
// in decimal (never capped). NAME is DocElement::GetName with the dictionary
// given (left out when the node has no name); TEXT is the node's text field;
// both are left out when empty. An entity's NAME is its entity name. Flags
// are written when not 0, "empty" when the node is declared empty, "extra"
// when another engine's object hangs on it.
//
// Each attribute of an element follows on a line of its own, one level
// deeper than its element, in the element's order:
//
//   @0xID[ name="NAME"] value="VALUE"[ code=N][ unspecified]
//
// ID is the packed attribute id in eight hexadecimal digits; NAME is the
// written name or the dictionary's; "code" is a value code other than 0;
// "unspecified" marks an attribute the tree builder rejected. A null entry
// in the attribute list is written "@null".
//
// Texts are written between double quotes with C escapes: \\ \" \n \r \t,
// and \xHH for any other byte below 0x20 or from 0x7F up. Every line ends
// in "\n"; an empty tree gives the empty text.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "markup/dictionary_base.h"
#include "markup/doc_tree.h"
#include "markup/node.h"
#include "markup/node_tree.h"
#include "markup/string.h"

namespace markup {

// The whole tree; names through the dictionary given (may be null).
std::string DumpTree(const NodeTree& tree, const DictionaryBase* dictionary);
// The whole tree with its own dictionary.
std::string DumpTree(const DocTree& tree);
// The same, nodes deeper than maxIndent levels indented as that level: the
// dump of a very deep tree would otherwise grow with the square of its depth.
std::string DumpTree(const DocTree& tree, std::size_t maxIndent);
// The same text handed to `write` in pieces as the walk makes it.
void WriteTree(const DocTree& tree, std::size_t maxIndent, const std::function<void(std::string_view)>& write);
// One node and its subtree, the node at column 0.
std::string DumpSubtree(const Node& node, const DictionaryBase* dictionary);
// A text between double quotes with the escapes above, for the other dumps
// of the engine to write texts the same way.
std::string QuoteForDump(const String& text);

}  // namespace markup
