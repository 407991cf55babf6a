// `svgfilter parse` at scale: for each N, writes the large generated SVG of N
// elements, then runs, as whole processes in alternating order, `svgfilter
// parse FILE` (the parse, then the printed tree), `xmllint --debug FILE`
// (libxml2's parse and its printed tree) and `xmllint --noout FILE` (its
// parse alone), output thrown away. It prints each one's median wall time and
// highest peak resident memory. Goals: at most `xmllint --debug`'s time and
// at most `xmllint --noout`'s memory.
//
//   parse_tool_bench [--sizes 10000,100000,1000000] [--runs 5] [--folder DIR]
//                    [--tool PATH]
#include <unistd.h>

#include <cstdio>
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
    flags.runs = 5;
    if (!ParseBenchFlags("parse_tool_bench", argc, argv, flags)) return 2;
    std::printf("machine: %s\n", MachineLine().c_str());
    std::printf("peer: %s\n", FirstLine("xmllint --version 2>&1").c_str());
    std::printf("load average at the start: %s\n", LoadAverage().c_str());
    std::printf("%d runs each, alternating; median wall time, highest peak resident memory\n\n", flags.runs);
    std::printf(
        "| N | document MB | svgfilter parse s | peak MB | xmllint --debug s | peak MB | xmllint --noout s | "
        "peak MB | time / --debug | memory / --noout | goal |\n|---|---|---|---|---|---|---|---|---|---|---|\n");
    std::fflush(stdout);

    bool allOk = true;
    for (const long long n : flags.sizes) {
        const std::string document = flags.folder + "/parse-tool-bench-" + std::to_string(n) + ".svg";
        const std::string text = MakeLargeSvg(static_cast<long>(n));
        if (!(std::ofstream(document, std::ios::binary) << text)) {
            std::fprintf(stderr, "parse_tool_bench: cannot write %s\n", document.c_str());
            return 1;
        }
        const std::vector<std::vector<std::string>> commands = {
            {flags.tool, "parse", document},
            {"xmllint", "--debug", document},
            {"xmllint", "--noout", document},
        };
        const std::vector<Timings> timed = RunRounds(flags.runs, commands);
        ::unlink(document.c_str());
        if (!timed[0].ok || !timed[1].ok || !timed[2].ok) {
            std::fprintf(stderr, "parse_tool_bench: a run failed at N = %lld\n", n);
            allOk = false;
            continue;
        }
        const double tool = timed[0].Median(), debug = timed[1].Median(), noout = timed[2].Median();
        const bool met = tool <= debug && timed[0].peak <= timed[2].peak;
        std::printf("| %lld | %.1f | %.3f | %.1f | %.3f | %.1f | %.3f | %.1f | %.2f | %.2f | %s |\n", n,
                    static_cast<double>(text.size()) / 1e6, tool, timed[0].peak, debug, timed[1].peak, noout,
                    timed[2].peak, tool / debug, timed[0].peak / timed[2].peak, met ? "met" : "missed");
        std::fflush(stdout);
    }
    return FinishBench(allOk);
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
    return bench::Main(argc, argv);
}
