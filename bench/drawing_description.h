// Writes the benchmark's drawing (bench_drawing.h) as a drawing description
// file, so that the whole tool can be run on the same shapes the export
// benchmark and the cairo peer draw.
#ifndef SVGFILTER_BENCH_DRAWING_DESCRIPTION_H
#define SVGFILTER_BENCH_DRAWING_DESCRIPTION_H

#include <cstdint>
#include <string>

namespace bench {

// Writes N shapes in one layer; lengths in millimetres. False when the file
// cannot be written.
bool WriteDrawingDescription(int64_t count, const std::string& path);

}  // namespace bench

#endif  // SVGFILTER_BENCH_DRAWING_DESCRIPTION_H
