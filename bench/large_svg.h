// A large SVG as our exporter writes one, for the benchmarks that read it.
#ifndef BENCH_LARGE_SVG_H
#define BENCH_LARGE_SVG_H

#include <string>

namespace bench {

// Prolog, DOCTYPE, an internal style sheet of 300 classes, then groups of
// twenty rectangles, paths and texts with class attributes: about 70 bytes
// an element, so 10^5 elements make some 7 MB.
std::string MakeLargeSvg(long elements);

}  // namespace bench

#endif  // BENCH_LARGE_SVG_H
