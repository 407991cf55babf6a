// How the computed style parses a document that a URL reference names:
// by default the markup parser in XML mode, with the dictionary registry's
// open dictionary "Blank" (the registry must have been set up, as the XML
// front end's Init does) and a CSS manager the tree owns. Tests put a
// parser of their own in its place.
#pragma once

#include <functional>
#include <memory>

#include "markup/doc_tree.h"
#include "markup/string.h"

namespace markup::style {

// The tree of the local file, or null when it does not parse.
using StyleDocumentParser = std::function<std::shared_ptr<DocTree>(const String& localFile)>;

// Replaces the installed parser; an empty function puts the markup parser
// back.
void SetStyleDocumentParser(StyleDocumentParser parser);

}  // namespace markup::style
