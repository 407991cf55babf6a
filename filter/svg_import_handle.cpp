// Import entry, standing in until the import engine exists.
#include "svg_import_handle.h"

namespace svgf {

int32_t SvgImportHandle::Run(FilterContext&) {
    (void)field_;
    return 0;
}

}  // namespace svgf
