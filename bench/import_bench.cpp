// The whole import of a large SVG, run as a user runs it: `svgfilter import
// FILE OUT.json` (the module's FilterEntry into the stand-in host, which
// describes the drawing), beside rsvg-convert loading, styling and
// rendering the same file at 8 by 8 pixels, for 10^4, 10^5 and 10^6
// elements. Each iteration is one child process; its wall time is the
// benchmark's time and the largest resident set of the children is the
// counter peak_MB.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "large_svg.h"

namespace {

struct Child {
    bool ok = false;
    double seconds = 0;
    long maxRssKiB = 0;
};

// Runs the program with its arguments, standard output and error to
// /dev/null.
Child Run(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (std::freopen("/dev/null", "w", stdout) == nullptr || std::freopen("/dev/null", "w", stderr) == nullptr)
            _exit(127);
        execvp(args[0], args.data());
        _exit(127);
    }
    Child child;
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return child;
    child.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    child.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    child.maxRssKiB = usage.ru_maxrss;
    return child;
}

void Measure(benchmark::State& state, const std::vector<std::string>& command) {
    long peak = 0;
    for (auto _ : state) {
        const Child child = Run(command);
        if (!child.ok) {
            state.SkipWithError(("failed: " + command.front()).c_str());
            return;
        }
        state.SetIterationTime(child.seconds);
        peak = std::max(peak, child.maxRssKiB);
    }
    state.counters["peak_MB"] = static_cast<double>(peak) / 1024.0;
    state.counters["elements"] = static_cast<double>(state.range(0));
}

void BM_ImportSvgfilter(benchmark::State& state) {
    const std::string& file = bench::LargeSvgFile("import_bench_", state.range(0));
    Measure(state, {SVGFILTER_TOOL, "import", file, file + ".json"});
}

void BM_LoadRsvgConvert(benchmark::State& state) {
    const std::string& file = bench::LargeSvgFile("import_bench_", state.range(0));
    Measure(state, {"rsvg-convert", "-w", "8", "-h", "8", "-o", file + ".png", file});
}

BENCHMARK(BM_ImportSvgfilter)->Arg(10000)->Arg(100000)->Arg(1000000)->UseManualTime()->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadRsvgConvert)->Arg(10000)->Arg(100000)->Arg(1000000)->UseManualTime()->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
