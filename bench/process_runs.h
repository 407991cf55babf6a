// Programs run as whole processes for the benchmarks that measure a tool
// beside a peer program: wall time, peak resident memory, and the lines that
// name the machine and its load.
#ifndef BENCH_PROCESS_RUNS_H
#define BENCH_PROCESS_RUNS_H

#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Run {
    bool ok = false;
    double seconds = 0;
    double peakMB = 0;
    int exitStatus = -1;  // -1 when the program did not exit by itself
};

// Runs a program (a path, or a name looked up in PATH) to its end with its
// output thrown away; its wall time and the kernel's peak resident size.
Run RunProcess(const std::vector<std::string>& args);
// The same with its standard error into `errorFile` (when not empty) and the
// environment variable `setting` ("NAME=VALUE", when not empty) set for it.
Run RunProcess(const std::vector<std::string>& args, const std::string& errorFile, const std::string& setting);

// A tool and its peer, each run `runs` times, alternating which goes first
// so that neither always finds a warm cache; the median wall times and the
// highest peaks. Each run's output file is removed after it. `ok` is false,
// with `failed` naming the program, when a run failed; an empty peer
// command is not run.
struct Alternated {
    bool ok = true;
    const char* failed = nullptr;
    double toolTime = 0, toolPeak = 0;
    double peerTime = 0, peerPeak = 0;
};
Alternated RunAlternating(int runs, const std::vector<std::string>& tool, const std::string& toolOut,
                          const std::vector<std::string>& peer, const std::string& peerOut);

// Several programs, each run `runs` times, the order turning by one each
// round so that none always goes first; per program its wall times, highest
// peak and whether every run succeeded. A program `take` answers false for
// is not run; `after` follows each run (to remove its output).
struct Timings {
    bool ok = true;
    bool run = false;
    std::vector<double> times;
    double peak = 0;
    double Median() const;
};
std::vector<Timings> RunRounds(int runs, const std::vector<std::vector<std::string>>& commands,
                               const std::function<bool(std::size_t)>& take = {},
                               const std::function<void()>& after = {});
// Prints the load average at the end; the program's exit status.
int FinishBench(bool allOk);

// The flags both benchmark programs take: --sizes, --runs, --folder, --tool
// and --peer, each with a value. A flag of the program's own goes to
// `other` (flag, value), which answers false for one it does not know.
struct BenchFlags {
    std::vector<long long> sizes = {10000, 100000, 1000000};
    int runs = 3;
    std::string folder = "/tmp";
    std::string tool;
    std::string peer;
};
// False (with a message naming the program) for an unknown flag.
bool ParseBenchFlags(const char* program, int argc, char** argv, BenchFlags& flags,
                     const std::function<bool(const std::string&, const char*)>& other = {});

double Median(std::vector<double> values);
// The first line a shell command prints, without its line end.
std::string FirstLine(const char* command);
// The machine's three load averages.
std::string LoadAverage();
// "10000,100000" as numbers.
std::vector<long long> ParseSizes(const std::string& text);
// The processor's model name and its number of logical CPUs.
std::string MachineLine();

}  // namespace bench

#endif  // BENCH_PROCESS_RUNS_H
