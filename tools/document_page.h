// The page an imported document asks for: the size of its root element, as
// the module's reader computes it. The import does not tell the host its
// page, so the stand-in host reads the root itself to size the drawing it
// describes.
#ifndef TOOLS_DOCUMENT_PAGE_H
#define TOOLS_DOCUMENT_PAGE_H

#include <optional>
#include <string>
#include <string_view>

#include "svgfilter/filter_abi.h"

namespace tools {

// The bytes of an XML text up to and including the end of its first start
// tag (after the prolog, comments, processing instructions and a DOCTYPE
// with its internal subset); empty when the text has no complete start tag.
std::string_view RootStartTag(std::string_view text);

// The page (left 0, top the height, right the width, bottom 0, host units)
// of the document's root element; nothing when the file cannot be read or
// its root gives no drawing. `dictionaries` is the markup dictionaries'
// folder, for the entities a DOCTYPE may declare.
std::optional<svgf::HostRect> DocumentPage(const std::string& path, const std::string& dictionaries);

}  // namespace tools

#endif  // TOOLS_DOCUMENT_PAGE_H
