// How the computed style parses a document that a URL reference names.
//
// The style engine stands below the parser's front end, so the parse is
// installed from above: the import driver (or a test) sets the function
// that turns a local file into a document tree. Without one, documents
// named by URL load as nothing and their references stay empty.
#pragma once

#include <functional>
#include <memory>

#include "markup/doc_tree.h"
#include "markup/string.h"

namespace markup::style {

// The tree of the local file, or null when it does not parse.
using StyleDocumentParser = std::function<std::shared_ptr<DocTree>(const String& localFile)>;

// Replaces the installed parser; an empty function removes it.
void SetStyleDocumentParser(StyleDocumentParser parser);

}  // namespace markup::style
