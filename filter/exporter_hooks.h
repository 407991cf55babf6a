// How the module entry reaches the exporter. The entry allocates and lists
// the exporter's storage itself (so that an exporter is never mistaken for an
// import object) and drives the exporter through these functions.
#ifndef SVGFILTER_EXPORTER_HOOKS_H
#define SVGFILTER_EXPORTER_HOOKS_H

#include <cstddef>
#include <cstdint>

#include "svgfilter/filter_abi.h"

namespace svgf {

class SVGExp;

// Bytes of storage an exporter needs; the storage is aligned for any object.
size_t ExporterSize();
// Constructs an exporter in zero-filled `storage`. May throw std::bad_alloc.
SVGExp* CreateExporter(void* storage);
// Begin export (command 5) and end export (command 7): 1 on success, 0 on
// failure. End export releases the context's options record (through
// ReleaseExportOptions) whatever its answer.
int32_t BeginExport(SVGExp& exporter, FilterContext& context);
int32_t EndExport(SVGExp& exporter, FilterContext& context);
// Runs the exporter's destructor; the storage stays the caller's to free.
void DestroyExporter(SVGExp* exporter) noexcept;

}  // namespace svgf

#endif  // SVGFILTER_EXPORTER_HOOKS_H
