// The cairo peer as a program of its own, so that the whole-tool benchmark
// can run it as a process beside `svgfilter export`:
//   cairo_svg_peer N OUT.svg
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cairo_peer.h"

int main(int argc, char** argv) {
    char* end = nullptr;
    const long long count = argc == 3 ? std::strtoll(argv[1], &end, 10) : -1;
    if (argc != 3 || end == argv[1] || *end != 0 || count < 0) {
        std::fprintf(stderr, "usage: cairo_svg_peer N OUT.svg\n");
        return 2;
    }
    const bench::StylePool styles;
    if (bench::ExportWithCairo(styles, count, argv[2]) < 0) {
        std::fprintf(stderr, "cairo_svg_peer: cairo failed to write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
