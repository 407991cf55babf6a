// The peer the export is measured against: the benchmark's shapes written
// through cairo's SVG surface.
#ifndef SVGFILTER_BENCH_CAIRO_PEER_H
#define SVGFILTER_BENCH_CAIRO_PEER_H

#include <cstdint>
#include <string>

#include "bench_drawing.h"

namespace bench {

// Writes shapes 0 to count - 1 to path; the file's size, or -1 when cairo
// failed.
long ExportWithCairo(const StylePool& styles, int64_t count, const std::string& path);

long FileSize(const std::string& path);

}  // namespace bench

#endif  // SVGFILTER_BENCH_CAIRO_PEER_H
