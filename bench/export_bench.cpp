// Export of a drawing of N shapes through the callback record, the module
// loaded as the host loads it, beside the same drawing written through
// cairo's SVG surface. Each run reports objects/s, output MB/s and the
// process's peak resident memory during that run (the kernel's high-water
// mark is reset before each run).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench_drawing.h"
#include "cairo_peer.h"
#include "host/module_loader.h"
#include "host/stand_in_host.h"

namespace bench {
namespace {

// The kernel's peak resident size of this process, reset on request.
class PeakMemory {
  public:
    static void Reset() { std::ofstream("/proc/self/clear_refs") << "5"; }
    // kB of VmHWM (peak) or VmRSS (now).
    static long Read(const char* field) {
        std::ifstream status("/proc/self/status");
        std::string line;
        const std::string key = std::string(field) + ":";
        while (std::getline(status, line)) {
            if (line.compare(0, key.size(), key) == 0)
                return std::strtol(line.c_str() + key.size(), nullptr, 10);
        }
        return -1;
    }
};

std::string OutputFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/svgfilter-bench-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) throw std::runtime_error("cannot make a folder in /tmp");
        return std::string(pattern);
    }();
    return folder;
}

const StylePool& Styles() {
    static const StylePool pool;
    return pool;
}

host::ModuleLibrary& Module() {
    static std::unique_ptr<host::ModuleLibrary> module = [] {
        std::string error;
        auto m = host::ModuleLibrary::Open(host::ResolveModulePath(), &error);
        if (!m) throw std::runtime_error(error);
        return m;
    }();
    return *module;
}

// One export of N shapes; the output file's size, or -1 when the module failed.
long ExportWithModule(host::StandInHost& host, int64_t count, uint32_t placement, const std::string& path) {
    svgf::FilterContext& c = host.Context();
    host.SetNoUserInterface(true);
    if (host.Call(svgf::kCmdOptions) == 0 || c.exportOptions == nullptr) return -1;
    c.exportOptions->cssPlacement = placement;
    if (!host.OpenOutput(path)) return -1;
    c.pageRect = svgf::HostRect{0, kPageSize, kPageSize, 0};
    c.hostHandle = host::kDrawingHandle;
    if (host.Call(svgf::kCmdBeginExport) == 0) return -1;
    const auto& r = *static_cast<const svgf::ExportCallbackRecord*>(c.callbackRecord);
    // The walk runs outside Call, so the host does not log each service call.
    bool ok =
        r.beginDrawing(r.object) != svgf::kFailed && r.beginNamedLayer(r.object, "Shapes") != svgf::kFailed;
    const StylePool& styles = Styles();
    for (int64_t i = 0; ok && i < count; ++i) {
        const Shape s = MakeShape(static_cast<uint64_t>(i));
        const svgf::HostAttributes* a = styles.Attributes(s.style);
        int32_t answer = 0;
        switch (s.kind) {
            case ShapeKind::kPath:
                answer = r.drawPath(r.object, a, static_cast<uint32_t>(s.pointCount), s.points.data(),
                                    s.nodeTypes.data(), &s.box, 0);
                break;
            case ShapeKind::kRectangle:
                answer =
                    r.drawRectangle(r.object, a, s.centre.x, s.centre.y, s.width, s.height, 0, 0, &s.box, 0);
                break;
            case ShapeKind::kEllipse:
                answer = r.drawEllipse(r.object, a, s.centre.x, s.centre.y, s.width, s.height, 0, 0, 0, 0,
                                       &s.box, 0);
                break;
        }
        ok = answer != svgf::kFailed;
    }
    ok = ok && r.endNamedLayer(r.object) != svgf::kFailed && r.endDrawing(r.object) != svgf::kFailed;
    const bool ended = host.Call(svgf::kCmdEndExport) != 0;
    host.CloseOutput();
    return ok && ended ? FileSize(path) : -1;
}

void Report(benchmark::State& state, int64_t count, long bytes, long baseline) {
    using benchmark::Counter;
    state.counters["objects/s"] = Counter(static_cast<double>(count), Counter::kIsIterationInvariantRate);
    state.counters["MB/s"] = Counter(bytes / 1e6, Counter::kIsIterationInvariantRate);
    state.counters["output_MB"] = bytes / 1e6;
    const long peak = PeakMemory::Read("VmHWM");
    state.counters["peak_rss_MB"] = peak / 1024.0;
    state.counters["rss_growth_MB"] = (peak - baseline) / 1024.0;
}

void BM_SVGExp(benchmark::State& state, uint32_t placement) {
    const int64_t count = state.range(0);
    const std::string path = OutputFolder() + "/module.svg";
    host::StandInHost host(Module().Entry());
    Styles();
    PeakMemory::Reset();
    const long baseline = PeakMemory::Read("VmRSS");
    long bytes = 0;
    for (auto _ : state) {
        bytes = ExportWithModule(host, count, placement, path);
        if (bytes < 0) {
            state.SkipWithError("the module failed the export");
            return;
        }
    }
    Report(state, count, bytes, baseline);
    ::unlink(path.c_str());
}

void BM_SVGExp_StyleSheet(benchmark::State& state) {
    BM_SVGExp(state, svgf::kCssInternal);
}
void BM_SVGExp_StyleAttribute(benchmark::State& state) {
    BM_SVGExp(state, svgf::kCssStyleAttribute);
}

void BM_CairoSvgSurface(benchmark::State& state) {
    const int64_t count = state.range(0);
    const std::string path = OutputFolder() + "/cairo.svg";
    Styles();
    PeakMemory::Reset();
    const long baseline = PeakMemory::Read("VmRSS");
    long bytes = 0;
    for (auto _ : state) {
        bytes = ExportWithCairo(Styles(), count, path);
        if (bytes < 0) {
            state.SkipWithError("cairo failed");
            return;
        }
    }
    Report(state, count, bytes, baseline);
    ::unlink(path.c_str());
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime();
    for (int64_t n : {1000, 10000, 100000, 1000000}) b->Arg(n);
}

BENCHMARK(BM_SVGExp_StyleSheet)->Apply(Sizes);
BENCHMARK(BM_SVGExp_StyleAttribute)->Apply(Sizes);
BENCHMARK(BM_CairoSvgSurface)->Apply(Sizes);

}  // namespace
}  // namespace bench

BENCHMARK_MAIN();
