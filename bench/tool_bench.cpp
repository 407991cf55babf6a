// The whole tool at scale: for each N, writes the benchmark's drawing of N
// shapes as a description file, then runs `svgfilter export` on it and the
// cairo peer program on the same shapes as whole processes, alternating, and
// prints each one's wall time and peak resident memory with their ratios.
//
//   tool_bench [--sizes 10000,100000,1000000] [--runs 3] [--folder DIR]
//              [--tool PATH] [--peer PATH] [--peer-up-to N]
//
// The peer keeps its whole document in memory (about 2 GB at 10^6 shapes):
// above --peer-up-to shapes only the tool runs.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "cairo_peer.h"
#include "drawing_description.h"
#include "process_runs.h"

namespace bench {
namespace {

int Main(int argc, char** argv) {
    BenchFlags flags;
    flags.tool = SVGFILTER_TOOL;
    flags.peer = SVGFILTER_CAIRO_PEER;
    long long peerUpTo = 1000000;
    const bool parsed =
        ParseBenchFlags("tool_bench", argc, argv, flags, [&](const std::string& flag, const char* value) {
            if (flag != "--peer-up-to") return false;
            peerUpTo = std::atoll(value);
            return true;
        });
    if (!parsed) return 2;
    const std::vector<long long>& sizes = flags.sizes;
    const int runs = flags.runs;
    const std::string& folder = flags.folder;
    const std::string& tool = flags.tool;
    const std::string& peer = flags.peer;
    std::printf("machine: %s\n", MachineLine().c_str());
    std::printf("load average at the start: %s\n", LoadAverage().c_str());
    std::printf("%d runs each, alternating; median wall time, highest peak resident memory\n\n", runs);
    std::printf(
        "| N | description MB | svgfilter export s | peak MB | cairo SVG surface s | peak MB | "
        "speed-up | memory bound MB | goal |\n|---|---|---|---|---|---|---|---|---|\n");
    std::fflush(stdout);

    bool allOk = true;
    for (const long long n : sizes) {
        const std::string description = folder + "/tool-bench-" + std::to_string(n) + ".json";
        const std::string toolOut = folder + "/tool-bench-" + std::to_string(n) + ".svg";
        const std::string peerOut = folder + "/tool-bench-" + std::to_string(n) + "-cairo.svg";
        if (!WriteDrawingDescription(n, description)) {
            std::fprintf(stderr, "tool_bench: cannot write %s\n", description.c_str());
            return 1;
        }
        const double descriptionMB = FileSize(description) / 1e6;
        const bool withPeer = n <= peerUpTo;
        const Alternated m =
            RunAlternating(runs, {tool, "export", description, toolOut}, toolOut,
                           withPeer ? std::vector<std::string>{peer, std::to_string(n), peerOut}
                                    : std::vector<std::string>{},
                           peerOut);
        ::unlink(description.c_str());
        if (!m.ok) {
            std::fprintf(stderr, "tool_bench: %s failed at N = %lld\n", m.failed, n);
            allOk = false;
            continue;
        }
        const double toolTime = m.toolTime, peerTime = m.peerTime;
        const double toolPeak = m.toolPeak, peerPeak = m.peerPeak;
        // Peak memory is in MiB (the kernel's kB); the bound is 1.25 times
        // the description plus 64 MiB.
        const double bound = 1.25 * descriptionMB * 1e6 / (1024.0 * 1024.0) + 64;
        // The speed goal holds from 10^5 shapes; below, start-up weighs in.
        const char* memory = toolPeak < bound ? "memory met" : "memory not met";
        if (withPeer) {
            const bool goal = peerTime >= 3 * toolTime && toolPeak < bound;
            std::printf("| %lld | %.1f | %.3f | %.1f | %.3f | %.1f | %.2fx | %.0f | %s |\n", n, descriptionMB,
                        toolTime, toolPeak, peerTime, peerPeak, peerTime / toolTime, bound,
                        n < 100000 ? memory
                        : goal     ? "met"
                                   : "not met");
        } else {
            std::printf("| %lld | %.1f | %.3f | %.1f | not run | | | %.0f | %s |\n", n, descriptionMB,
                        toolTime, toolPeak, bound, memory);
        }
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
