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

namespace bench {
namespace {

struct Run {
    bool ok = false;
    double seconds = 0;
    double peakMB = 0;
};

// Runs a program to its end with its output thrown away; its wall time and
// the kernel's peak resident size of it.
Run RunProcess(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child < 0) return {};
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) ::dup2(null, 1);
        ::execv(argv[0], argv.data());
        std::perror(argv[0]);
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (::wait4(child, &status, 0, &usage) != child) return {};
    Run run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakMB = usage.ru_maxrss / 1024.0;  // ru_maxrss is in kB
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::string FirstLine(const char* command) {
    std::string line;
    if (FILE* p = ::popen(command, "r")) {
        char buffer[512];
        if (std::fgets(buffer, sizeof buffer, p) != nullptr) line = buffer;
        ::pclose(p);
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
    return line;
}

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + " " + b + " " + c;
}

std::vector<long long> ParseSizes(const std::string& text) {
    std::vector<long long> sizes;
    size_t at = 0;
    while (at < text.size()) {
        const size_t comma = text.find(',', at);
        sizes.push_back(std::atoll(text.substr(at, comma - at).c_str()));
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    return sizes;
}

int Main(int argc, char** argv) {
    std::vector<long long> sizes = {10000, 100000, 1000000};
    int runs = 3;
    std::string folder = "/tmp";
    std::string tool = SVGFILTER_TOOL;
    std::string peer = SVGFILTER_CAIRO_PEER;
    long long peerUpTo = 1000000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--sizes") {
            sizes = ParseSizes(argv[i + 1]);
        } else if (flag == "--runs") {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (flag == "--folder") {
            folder = argv[i + 1];
        } else if (flag == "--tool") {
            tool = argv[i + 1];
        } else if (flag == "--peer") {
            peer = argv[i + 1];
        } else if (flag == "--peer-up-to") {
            peerUpTo = std::atoll(argv[i + 1]);
        } else {
            std::fprintf(stderr, "tool_bench: unknown flag %s\n", argv[i]);
            return 2;
        }
    }
    std::printf("machine: %s, %s logical CPUs\n",
                FirstLine("lscpu | sed -n 's/^Model name: *//p'").c_str(), FirstLine("nproc").c_str());
    std::printf("load average at the start: %s\n", LoadAverage().c_str());
    std::printf("%d runs each, alternating; median wall time, highest peak resident memory\n\n", runs);
    std::printf("| N | description MB | svgfilter export s | peak MB | cairo SVG surface s | peak MB | "
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
        std::vector<double> toolTimes, peerTimes;
        double toolPeak = 0, peerPeak = 0;
        bool ok = true;
        const bool withPeer = n <= peerUpTo;
        for (int r = 0; r < runs && ok; ++r) {
            // Alternate which runs first, so neither always finds a warm cache.
            for (int k = 0; k < 2; ++k) {
                const bool toolTurn = (r + k) % 2 == 0;
                if (!toolTurn && !withPeer) continue;
                const Run run = toolTurn ? RunProcess({tool, "export", description, toolOut})
                                         : RunProcess({peer, std::to_string(n), peerOut});
                if (!run.ok) {
                    std::fprintf(stderr, "tool_bench: %s failed at N = %lld\n", toolTurn ? "svgfilter" : "peer",
                                 n);
                    ok = false;
                    break;
                }
                (toolTurn ? toolTimes : peerTimes).push_back(run.seconds);
                double& peak = toolTurn ? toolPeak : peerPeak;
                peak = std::max(peak, run.peakMB);
                ::unlink((toolTurn ? toolOut : peerOut).c_str());
            }
        }
        ::unlink(description.c_str());
        if (!ok) {
            allOk = false;
            continue;
        }
        const double toolTime = Median(toolTimes);
        const double peerTime = Median(peerTimes);
        // Peak memory is in MiB (the kernel's kB); the bound is 1.25 times
        // the description plus 64 MiB.
        const double bound = 1.25 * descriptionMB * 1e6 / (1024.0 * 1024.0) + 64;
        // The speed goal holds from 10^5 shapes; below, start-up weighs in.
        const char* memory = toolPeak < bound ? "memory met" : "memory not met";
        if (withPeer) {
            const bool goal = peerTime >= 3 * toolTime && toolPeak < bound;
            std::printf("| %lld | %.1f | %.3f | %.1f | %.3f | %.1f | %.2fx | %.0f | %s |\n", n, descriptionMB,
                        toolTime, toolPeak, peerTime, peerPeak, peerTime / toolTime, bound,
                        n < 100000 ? memory : goal ? "met" : "not met");
        } else {
            std::printf("| %lld | %.1f | %.3f | %.1f | not run | | | %.0f | %s |\n", n, descriptionMB, toolTime,
                        toolPeak, bound, memory);
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
