// Filling the callback record the host reports its drawing through.
#ifndef SVGFILTER_CALLBACK_RECORD_H
#define SVGFILTER_CALLBACK_RECORD_H

#include "abstract_pi.h"
#include "svgfilter/filter_abi.h"

namespace svgf {

// Zeroes the record, then sets every entry to its adapter and the object word
// to `exporter`. Each adapter packs the host's arguments the way its
// operation expects them and answers what the operation answers.
void FillCallbackRecord(ExportCallbackRecord& record, CAbstractPI* exporter);

// Width of the outline the outlined-path entry gives its paths, host units.
inline constexpr int32_t kOutlinedPathWidth = 762;

}  // namespace svgf

#endif  // SVGFILTER_CALLBACK_RECORD_H
