// The import at scale: for each kind of input (bench/scale_inputs.cpp) and
// each size, writes the document, runs `svgfilter import` on it as a whole
// process and prints its wall time, its peak resident memory, what became
// of it (imported, refused, killed at the time limit) and the growth of
// time and memory per tenfold of the input (about 10 is linear).
//
//   scale_bench [--sizes 1000,10000,100000,1000000] [--rows TEXT] [--limit SECONDS]
//               [--folder DIR] [--tool PATH]
//
// --rows keeps the rows whose name holds TEXT. A run killed at the limit
// shows the memory of the programs around it, not its own. Start-up (some 10 MB, a few
// milliseconds) weighs in at the smallest sizes; growth is read from 10^4 up. Rows with a
// base document also show the bytes of peak memory a unit costs: the peak over the base's.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "process_runs.h"
#include "scale_inputs.h"

namespace bench {
namespace {

double FileMB(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<double>(st.st_size) / 1e6 : 0;
}

// Writes the document, imports it in a process of its own and reads the
// tool's own peak, as /usr/bin/time reads it (a process forked from this one
// would start with the generator's memory).
Run ImportRun(const std::string& text, long long n, const std::string& folder, const std::string& limit,
              const std::string& tool, double& documentMB) {
    const std::string document = folder + "/scale-bench-" + std::to_string(n) + ".svg";
    const std::string output = folder + "/scale-bench-" + std::to_string(n) + ".json";
    std::ofstream(document, std::ios::binary) << text;
    documentMB = FileMB(document);
    const std::string peakFile = folder + "/scale-bench-peak.txt";
    Run run = RunProcess(
        {"timeout", limit, "/usr/bin/time", "-f", "%M", "-o", peakFile, tool, "import", document, output});
    if (run.exitStatus == 0 || run.exitStatus == 1) {
        std::ifstream peak(peakFile);
        double kB = 0;
        // A failed run's file begins with "Command exited with non-zero status".
        for (std::string line; std::getline(peak, line);) {
            if (!line.empty() && line[0] >= '0' && line[0] <= '9') kB = std::atof(line.c_str());
        }
        run.peakMB = kB / 1024.0;
    }
    ::unlink(peakFile.c_str());
    ::unlink(document.c_str());
    ::unlink(output.c_str());
    return run;
}

const char* Outcome(const Run& run) {
    if (run.exitStatus == 0) return "imported";
    if (run.exitStatus == 1) return "refused";
    if (run.exitStatus == 124) return "killed at the limit";
    return "crashed";
}

int Main(int argc, char** argv) {
    std::vector<long long> sizes = {1000, 10000, 100000, 1000000};
    std::string rows;
    std::string limit = "60";
    std::string folder = "/tmp";
    std::string tool = SVGFILTER_TOOL;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--sizes") {
            sizes = ParseSizes(argv[i + 1]);
        } else if (flag == "--rows") {
            rows = argv[i + 1];
        } else if (flag == "--limit") {
            limit = argv[i + 1];
        } else if (flag == "--folder") {
            folder = argv[i + 1];
        } else if (flag == "--tool") {
            tool = argv[i + 1];
        } else {
            std::fprintf(stderr, "scale_bench: unknown flag %s\n", argv[i]);
            return 2;
        }
    }
    std::printf("machine: %s\n", MachineLine().c_str());
    std::printf("load average at the start: %s\n", LoadAverage().c_str());
    std::printf("one run each, killed after %s s; time and memory growth per tenfold of N\n\n", limit.c_str());
    std::printf(
        "| input | N | unit | document MB | s | peak MB | outcome | time x/10 | memory x/10 "
        "| bytes a unit |\n"
        "|---|---|---|---|---|---|---|---|---|---|\n");
    std::fflush(stdout);
    bool allOk = true;
    for (const ScaleInput& input : ScaleInputs()) {
        if (!rows.empty() && std::string(input.name).find(rows) == std::string::npos) continue;
        Run previous;
        long long previousN = 0;
        for (const long long n : sizes) {
            double documentMB = 0;
            const Run run = ImportRun(input.make(n), n, folder, limit, tool, documentMB);
            // Bytes a unit: the peak over that of the same document without
            // the units.
            std::string perUnit = "–";
            if (input.base && run.peakMB > 0) {
                double baseMB = 0;
                const Run base = ImportRun(input.base(n), n, folder, limit, tool, baseMB);
                const double bytes = (run.peakMB - base.peakMB) * 1024 * 1024;
                char text[32];
                std::snprintf(text, sizeof text, "%.1f", bytes / static_cast<double>(n));
                if (base.peakMB > 0) perUnit = text;
            }
            if (run.exitStatus != 0 && run.exitStatus != 1) allOk = false;
            std::string growth = "|";
            // Per tenfold: the ratio over the step, scaled to a step of ten.
            if (previousN != 0 && previous.seconds > 0 && previous.peakMB > 0 && n == previousN * 10) {
                char text[64];
                std::snprintf(text, sizeof text, "%.1f | %.1f", run.seconds / previous.seconds,
                              run.peakMB / previous.peakMB);
                growth = text;
            }
            std::printf("| %s | %lld | %s | %.2f | %.3f | %.1f | %s | %s | %s |\n", input.name, n, input.unit,
                        documentMB, run.seconds, run.peakMB, Outcome(run), growth.c_str(), perUnit.c_str());
            std::fflush(stdout);
            previous = run;
            previousN = n;
        }
    }
    std::printf("\nload average at the end: %s\n", LoadAverage().c_str());
    return allOk ? 0 : 1;
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
    return bench::Main(argc, argv);
}
