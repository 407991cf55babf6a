// The import object the module keeps in the context from import set-up (or
// import) to end import, and the run that imports one SVG document.
#ifndef SVGFILTER_SVG_IMPORT_HANDLE_H
#define SVGFILTER_SVG_IMPORT_HANDLE_H

#include <cstdint>

#include "svgfilter/filter_abi.h"

namespace svgf {

// The caption of the error box a failed import shows.
inline constexpr const char* kImportCaption = "SVG import";

class SvgImportHandle {
  public:
    SvgImportHandle() = default;
    // Releases nothing: everything an import makes lives inside one Run.
    ~SvgImportHandle() = default;

    // Parses the document the context names (fileName) with the markup
    // dictionaries of the host's folder (service 0x244), computes its
    // styles and draws it through the host's drawing table; 1 when the
    // document was drawn, 0 when it could not be. A failure shows one error
    // box naming the document and the cause and has drawn nothing that
    // counts; exhausted memory also sets the context's errorCode to 24849.
    // Every object of the run is released on every path, and the host's
    // callback record is given back whatever happened.
    int32_t Run(FilterContext& context);

  private:
    // The context's filter-object slot holds the handle while an import is
    // under way; this word is the handle's whole state.
    void* field_ = nullptr;
};

}  // namespace svgf

#endif  // SVGFILTER_SVG_IMPORT_HANDLE_H
