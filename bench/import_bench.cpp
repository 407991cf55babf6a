// The whole import at scale: for each N, writes the large generated SVG of N
// elements, then runs, as whole processes in alternating order,
// `svgfilter import FILE OUT.json` (the module's FilterEntry into the
// stand-in host, which describes the drawing), rsvg-convert loading, styling
// and rendering the same file at 8 by 8 pixels into a PNG file (up to the
// element count it accepts), and `xmllint --noout` building the document's
// tree, the floor of any whole-document import. It prints each one's median
// wall time and highest peak resident memory, the import's growth per
// tenfold, and the module's share of the import (one more run in which the
// tool times the host's drawing calls and the description's writing apart).
// Goals: at most half of rsvg-convert's time and memory; at most 11 times
// per tenfold.
//
//   import_bench [--sizes 10000,100000,1000000] [--runs 3] [--folder DIR]
//                [--tool PATH] [--peer PATH]
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "large_svg.h"
#include "process_runs.h"

namespace bench {
namespace {

// rsvg-convert refuses a document of more elements than this.
constexpr long long kPeerElementLimit = 1000000;
// The generated document's elements beyond its N (svg, defs, style).
constexpr long long kDocumentOverhead = 3;

// The module's share of one import: "module S s, host drawing calls H s,
// description written W s" from the tool's timing line.
bool ModuleShare(const std::string& tool, const std::string& document, const std::string& out,
                 const std::string& folder, double* module, double* host) {
    const std::string errors = folder + "/import-bench-timing.txt";
    const Run run = RunProcess({tool, "import", document, out}, errors, "SVGFILTER_IMPORT_TIMING=1");
    ::unlink(out.c_str());
    std::ifstream in(errors);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ::unlink(errors.c_str());
    const size_t at = text.find("timing: module ");
    if (!run.ok || at == std::string::npos) return false;
    double m = 0, h = 0, w = 0;
    if (std::sscanf(text.c_str() + at, "timing: module %lf s, host drawing calls %lf s, description written %lf s",
                    &m, &h, &w) != 3)
        return false;
    *module = m;
    *host = h + w;
    return true;
}

int Main(int argc, char** argv) {
    BenchFlags flags;
    flags.tool = SVGFILTER_TOOL;
    flags.peer = "rsvg-convert";
    if (!ParseBenchFlags("import_bench", argc, argv, flags)) return 2;
    const std::string& folder = flags.folder;
    const std::string& tool = flags.tool;
    const std::string& peer = flags.peer;
    std::printf("machine: %s\n", MachineLine().c_str());
    std::printf("peer: %s (refuses more than %lld elements)\n", FirstLine((peer + " --version").c_str()).c_str(),
                kPeerElementLimit);
    std::printf("floor: %s\n", FirstLine("xmllint --version 2>&1").c_str());
    std::printf("load average at the start: %s\n", LoadAverage().c_str());
    std::printf("%d runs each, alternating; median wall time, highest peak resident memory\n\n", flags.runs);
    std::printf(
        "| N | document MB | svgfilter import s | peak MB | growth | module s | host s | rsvg-convert s | peak MB | "
        "xmllint --noout s | peak MB | time ratio | memory ratio |\n"
        "|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    std::fflush(stdout);

    bool allOk = true;
    double previousTime = 0;
    long long previousN = 0;
    for (const long long n : flags.sizes) {
        const std::string base = folder + "/import-bench-" + std::to_string(n);
        const std::string document = base + ".svg", toolOut = base + ".json", peerOut = base + ".png";
        const std::string text = MakeLargeSvg(static_cast<long>(n));
        if (!(std::ofstream(document, std::ios::binary) << text)) {
            std::fprintf(stderr, "import_bench: cannot write %s\n", document.c_str());
            return 1;
        }
        const bool peerTakes = n + kDocumentOverhead <= kPeerElementLimit;
        const std::vector<std::vector<std::string>> commands = {
            {tool, "import", document, toolOut},
            {peer, "-w", "8", "-h", "8", "-o", peerOut, document},
            {"xmllint", "--noout", document},
        };
        const std::vector<Timings> timed = RunRounds(
            flags.runs, commands, [&](std::size_t which) { return which != 1 || peerTakes; },
            [&] {
                ::unlink(toolOut.c_str());
                ::unlink(peerOut.c_str());
            });
        double module = 0, host = 0;
        const bool share = timed[0].ok && ModuleShare(tool, document, toolOut, folder, &module, &host);
        ::unlink(document.c_str());
        if (!timed[0].ok) {
            std::fprintf(stderr, "import_bench: the tool failed at N = %lld\n", n);
            allOk = false;
            continue;
        }
        const double toolTime = timed[0].Median();
        char growth[32] = "-";
        if (previousN > 0 && n == previousN * 10 && previousTime > 0)
            std::snprintf(growth, sizeof growth, "%.1fx", toolTime / previousTime);
        char shareText[64] = "- | -";
        if (share) std::snprintf(shareText, sizeof shareText, "%.3f | %.3f", module, host);
        char peerText[64] = "refused | -";
        if (timed[1].run && timed[1].ok) std::snprintf(peerText, sizeof peerText, "%.3f | %.1f", timed[1].Median(), timed[1].peak);
        if (timed[1].run && !timed[1].ok) std::snprintf(peerText, sizeof peerText, "failed | -");
        char floorText[64] = "failed | -";
        if (timed[2].ok) std::snprintf(floorText, sizeof floorText, "%.3f | %.1f", timed[2].Median(), timed[2].peak);
        char ratios[64] = "- | -";
        if (timed[1].run && timed[1].ok)
            std::snprintf(ratios, sizeof ratios, "%.2f | %.2f", toolTime / timed[1].Median(), timed[0].peak / timed[1].peak);
        std::printf("| %lld | %.1f | %.3f | %.1f | %s | %s | %s | %s | %s |\n", n,
                    static_cast<double>(text.size()) / 1e6, toolTime, timed[0].peak, growth, shareText, peerText,
                    floorText, ratios);
        std::fflush(stdout);
        previousTime = toolTime;
        previousN = n;
    }
    std::printf("\nmodule s: the import call less the host's drawing calls; host s: those calls and the\n"
                "description's writing (one more run with SVGFILTER_IMPORT_TIMING=1)\n");
    return FinishBench(allOk);
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
    return bench::Main(argc, argv);
}
