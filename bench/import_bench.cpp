// The whole import at scale: for each N, writes the large generated SVG of N
// elements, then runs `svgfilter import FILE OUT.json` (the module's
// FilterEntry into the stand-in host, which describes the drawing) and
// rsvg-convert loading, styling and rendering the same file at 8 by 8
// pixels, as whole processes, alternating, and prints each one's wall time
// and peak resident memory with their ratios. Goal: at most half of
// rsvg-convert's time and memory.
//
//   import_bench [--sizes 10000,100000,1000000] [--runs 3] [--folder DIR]
//                [--tool PATH] [--peer PATH]
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "large_svg.h"
#include "process_runs.h"

namespace bench {
namespace {

int Main(int argc, char** argv) {
    BenchFlags flags;
    flags.tool = SVGFILTER_TOOL;
    flags.peer = "rsvg-convert";
    if (!ParseBenchFlags("import_bench", argc, argv, flags)) return 2;
    const std::vector<long long>& sizes = flags.sizes;
    const int runs = flags.runs;
    const std::string& folder = flags.folder;
    const std::string& tool = flags.tool;
    const std::string& peer = flags.peer;
    std::printf("machine: %s\n", MachineLine().c_str());
    std::printf("peer: %s\n", FirstLine((peer + " --version").c_str()).c_str());
    std::printf("load average at the start: %s\n", LoadAverage().c_str());
    std::printf("%d runs each, alternating; median wall time, highest peak resident memory\n\n", runs);
    std::printf(
        "| N | document MB | svgfilter import s | peak MB | rsvg-convert s | peak MB | time ratio | "
        "memory ratio | goal |\n|---|---|---|---|---|---|---|---|---|\n");
    std::fflush(stdout);

    bool allOk = true;
    for (const long long n : sizes) {
        const std::string document = folder + "/import-bench-" + std::to_string(n) + ".svg";
        const std::string toolOut = folder + "/import-bench-" + std::to_string(n) + ".json";
        const std::string peerOut = folder + "/import-bench-" + std::to_string(n) + ".png";
        const std::string text = MakeLargeSvg(static_cast<long>(n));
        if (!(std::ofstream(document, std::ios::binary) << text)) {
            std::fprintf(stderr, "import_bench: cannot write %s\n", document.c_str());
            return 1;
        }
        const double documentMB = static_cast<double>(text.size()) / 1e6;
        const Alternated m = RunAlternating(runs, {tool, "import", document, toolOut}, toolOut,
                                            {peer, "-w", "8", "-h", "8", "-o", peerOut, document}, peerOut);
        ::unlink(document.c_str());
        if (!m.ok) {
            std::fprintf(stderr, "import_bench: %s failed at N = %lld\n", m.failed, n);
            allOk = false;
            continue;
        }
        const double toolTime = m.toolTime, peerTime = m.peerTime;
        const double toolPeak = m.toolPeak, peerPeak = m.peerPeak;
        const double timeRatio = toolTime / peerTime;
        const double memoryRatio = toolPeak / peerPeak;
        std::printf("| %lld | %.1f | %.3f | %.1f | %.3f | %.1f | %.2f | %.2f | %s |\n", n, documentMB,
                    toolTime, toolPeak, peerTime, peerPeak, timeRatio, memoryRatio,
                    timeRatio <= 0.5 && memoryRatio <= 0.5 ? "met" : "not met");
        std::fflush(stdout);
    }
    std::printf("\nload average at the end: %s\n", LoadAverage().c_str());
    return allOk ? 0 : 1;
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
    return bench::Main(argc, argv);
}
