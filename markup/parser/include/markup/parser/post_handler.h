// PostHandler: what the walk over a finished document hands the CSS manager.
//
// The text of "style" elements (the manager collects it when the element's
// walk ends) and the style sheets that elements of type 87 link (in XML the
// "xml-stylesheet" instruction) go to the manager the tree holds, in
// document order. A tree without a manager is walked to no effect.
#pragma once

#include <cstdint>

#include "markup/attr_element.h"
#include "markup/doc_tree.h"
#include "markup/node.h"
#include "markup/parser/parse_diagnostics.h"
#include "markup/string.h"

namespace markup {

class PostHandler {
  public:
    // A linked sheet larger than this is skipped (diagnostic 42), never
    // read whole.
    static constexpr std::uint32_t kMaxLinkedSheetBytes = 16u << 20;

    PostHandler() = default;
    virtual ~PostHandler();
    PostHandler(const PostHandler&) = delete;
    PostHandler& operator=(const PostHandler&) = delete;

    // Before the node's children: a "style" element becomes the manager's
    // context; a type-87 element's linked sheet is read and added.
    void Enter(Node* node, DocTree* tree);
    // After them: the style element's text is collected.
    void Leave(Node* node, DocTree* tree);
    // Reads the sheet the node's "href" names, resolved against the
    // document's address, and adds it as one style text. A missing href, an
    // address that maps to no file or a file that does not open adds nothing.
    // Only a regular file within the document's folder, the dictionary
    // folder or the URL mapper's cache is opened; another is refused
    // unopened (diagnostic 43).
    void LoadLinkedStyleSheet(Node* node, DocTree* tree);

    // Where a refused or too large sheet is reported; may be null.
    void SetReporter(ParseErrorHandler* reporter) { reporter_ = reporter; }
    // Forgets the style id looked up for the last tree's dictionary.
    void Reset() { styleDictionary_ = nullptr; }

  private:
    // The id of "style" in the tree's dictionary; 0 when it has none.
    std::uint32_t StyleId(const DocTree& tree);
    // The local file the node's href names, or empty; documentFolder is
    // set to the folder of the document's own file.
    String LinkedFile(const AttrElement& element, const DocTree& tree, String& documentFolder) const;

    ParseErrorHandler* reporter_ = nullptr;
    const DictionaryBase* styleDictionary_ = nullptr;
    std::uint32_t styleId_ = 0;
};

}  // namespace markup
