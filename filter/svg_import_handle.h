// The import object the module keeps in the context from import set-up (or
// import) to end import.
#ifndef SVGFILTER_SVG_IMPORT_HANDLE_H
#define SVGFILTER_SVG_IMPORT_HANDLE_H

#include <cstdint>

#include "svgfilter/filter_abi.h"

namespace svgf {

class SvgImportHandle {
  public:
    SvgImportHandle() = default;
    // Releases nothing: the handle owns nothing beyond itself.
    ~SvgImportHandle() = default;

    // Reads the document the host names and replays it into the host's
    // drawing; non-zero on success. The import engine is not built yet, so
    // every import fails for now.
    int32_t Run(FilterContext& context);

  private:
    void* field_ = nullptr;
};

}  // namespace svgf

#endif  // SVGFILTER_SVG_IMPORT_HANDLE_H
