// The export options record: its defaults, the options command's dialog run,
// and the record's ownership in the context.
#ifndef SVGFILTER_EXPORT_OPTIONS_H
#define SVGFILTER_EXPORT_OPTIONS_H

#include <cstdint>

#include "platform/resources.h"
#include "svgfilter/filter_abi.h"

namespace svgf {

inline constexpr uint32_t kDefaultPrecision = 1000;

// Writes the defaults into every word but the owning context; answers 1.
int32_t SetDefaultExportOptions(SVGExportOptions* record);

// Resets the record to the defaults and, unless the owning context asks for no
// user interface, lets the user edit it in dialog 27799 of `instance`. Answers
// 1 when the options stand; 0 with the context's errorCode set to 24850 when
// the dialog cannot be shown, or to 24862 when it was cancelled.
int32_t RunExportOptionsDialog(SVGExportOptions* record, const platform::ResourceModule* instance);

// A new zero-filled record made by the module, or null when memory is exhausted.
SVGExportOptions* NewExportOptions();

// Drops the context's options record: frees it when the module made it (a
// record the host placed there stays the host's) and clears the field, so a
// later begin export falls back to the defaults.
void ReleaseExportOptions(FilterContext& context);

}  // namespace svgf

#endif  // SVGFILTER_EXPORT_OPTIONS_H
