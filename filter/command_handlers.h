// The handlers behind FilterEntry's command codes. Each answers the command's
// result; exceptions are left to FilterEntry to catch.
#ifndef SVGFILTER_COMMAND_HANDLERS_H
#define SVGFILTER_COMMAND_HANDLERS_H

#include <cstdint>

#include "svgfilter/filter_abi.h"

namespace svgf::detail {

int32_t HandleImport(FilterContext& context);
int32_t HandleImportSetup(FilterContext& context);
int32_t HandleBeginExport(FilterContext& context);
int32_t HandleEndImport(FilterContext& context);
int32_t HandleEndExport(FilterContext& context);
int32_t HandleExportOptions(FilterContext& context);

}  // namespace svgf::detail

#endif  // SVGFILTER_COMMAND_HANDLERS_H
