// The module entry's way to the exporter. No exception may leave these: an
// export that throws (memory exhausted while writing) answers failure, and
// end export still releases what it must.
#include "exporter_hooks.h"

#include <new>

#include "export_options.h"
#include "svg_exp.h"

namespace svgf {

size_t ExporterSize() {
    return sizeof(SVGExp);
}

SVGExp* CreateExporter(void* storage) {
    return new (storage) SVGExp();
}

int32_t BeginExport(SVGExp& exporter, FilterContext& context) {
    try {
        return exporter.BeginExport(&context);
    } catch (...) {
        return 0;
    }
}

int32_t EndExport(SVGExp& exporter, FilterContext& context) {
    try {
        return exporter.EndExport(&context);
    } catch (...) {
        ReleaseExportOptions(context);
        return 0;
    }
}

void DestroyExporter(SVGExp* exporter) noexcept {
    exporter->~SVGExp();
}

}  // namespace svgf
