// Child processes measured by the kernel, and the machine they ran on.
#include "process_runs.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace bench {

Run RunProcess(const std::vector<std::string>& args) {
    return RunProcess(args, std::string(), std::string());
}

Run RunProcess(const std::vector<std::string>& args, const std::string& errorFile, const std::string& setting) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child < 0) return {};
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) ::dup2(null, 1);
        if (!errorFile.empty()) {
            const int errors = ::open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (errors >= 0) ::dup2(errors, 2);
        }
        if (!setting.empty()) ::putenv(const_cast<char*>(setting.c_str()));
        ::execvp(argv[0], argv.data());
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
    if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
    return run;
}

Alternated RunAlternating(int runs, const std::vector<std::string>& tool, const std::string& toolOut,
                          const std::vector<std::string>& peer, const std::string& peerOut) {
    Alternated out;
    std::vector<double> toolTimes, peerTimes;
    for (int r = 0; r < runs && out.ok; ++r) {
        for (int k = 0; k < 2; ++k) {
            const bool toolTurn = (r + k) % 2 == 0;
            if (!toolTurn && peer.empty()) continue;
            const Run run = RunProcess(toolTurn ? tool : peer);
            if (!run.ok) {
                out.ok = false;
                out.failed = toolTurn ? "the tool" : "the peer";
                break;
            }
            (toolTurn ? toolTimes : peerTimes).push_back(run.seconds);
            double& peak = toolTurn ? out.toolPeak : out.peerPeak;
            peak = std::max(peak, run.peakMB);
            ::unlink((toolTurn ? toolOut : peerOut).c_str());
        }
    }
    out.toolTime = Median(toolTimes);
    out.peerTime = Median(peerTimes);
    return out;
}

double Timings::Median() const {
    return bench::Median(times);
}

std::vector<Timings> RunRounds(int runs, const std::vector<std::vector<std::string>>& commands,
                               const std::function<bool(std::size_t)>& take, const std::function<void()>& after) {
    std::vector<Timings> timed(commands.size());
    for (int r = 0; r < runs; ++r) {
        for (std::size_t k = 0; k < commands.size(); ++k) {
            const std::size_t which = (static_cast<std::size_t>(r) + k) % commands.size();
            if (take && !take(which)) continue;
            const Run run = RunProcess(commands[which]);
            timed[which].run = true;
            timed[which].ok = timed[which].ok && run.ok;
            timed[which].times.push_back(run.seconds);
            timed[which].peak = std::max(timed[which].peak, run.peakMB);
            if (after) after();
        }
    }
    return timed;
}

int FinishBench(bool allOk) {
    std::printf("load average at the end: %s\n", LoadAverage().c_str());
    return allOk ? 0 : 1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
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

bool ParseBenchFlags(const char* program, int argc, char** argv, BenchFlags& flags,
                     const std::function<bool(const std::string&, const char*)>& other) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const char* value = argv[i + 1];
        if (flag == "--sizes") {
            flags.sizes = ParseSizes(value);
        } else if (flag == "--runs") {
            flags.runs = std::max(1, std::atoi(value));
        } else if (flag == "--folder") {
            flags.folder = value;
        } else if (flag == "--tool") {
            flags.tool = value;
        } else if (flag == "--peer") {
            flags.peer = value;
        } else if (!other || !other(flag, value)) {
            std::fprintf(stderr, "%s: unknown flag %s\n", program, argv[i]);
            return false;
        }
    }
    return true;
}

std::string MachineLine() {
    return FirstLine("lscpu | sed -n 's/^Model name: *//p'") + ", " + FirstLine("nproc") + " logical CPUs";
}

}  // namespace bench
