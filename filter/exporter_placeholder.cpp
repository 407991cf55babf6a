// Stands in for the exporter until it exists: every export fails, and end
// export still releases what it must.
#include <new>

#include "export_options.h"
#include "exporter_hooks.h"

namespace svgf {

class SVGExp {
    uint32_t unused_ = 0;
};

size_t ExporterSize() {
    return sizeof(SVGExp);
}

SVGExp* CreateExporter(void* storage) {
    return new (storage) SVGExp();
}

int32_t BeginExport(SVGExp&, FilterContext&) {
    return 0;
}

int32_t EndExport(SVGExp&, FilterContext& context) {
    ReleaseExportOptions(context);
    return 0;
}

void DestroyExporter(SVGExp* exporter) noexcept {
    exporter->~SVGExp();
}

}  // namespace svgf
