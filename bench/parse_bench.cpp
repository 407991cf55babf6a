// The whole parse of a large SVG into a document tree, beside libxml2
// parsing the same file into its tree, for 10^4, 10^5 and 10^6 elements.
//
// The document is generated as our exporter writes one: prolog, DOCTYPE,
// an internal style sheet of 300 classes, then groups of rectangles, paths
// and texts with class and style attributes (about 70 bytes an element, so
// 10^5 elements make some 7 MB). Time is Google Benchmark's; peak memory is
// the high-water mark of the resident set of a fresh run of this program
// that makes one parse (counter peak_MB), less that of a run that makes
// none.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "markup/css_base_manager.h"
#include "markup/doc_element.h"
#include "markup/parser/dictionary_registry.h"
#include "markup/parser/xml_parser.h"
#include "large_svg.h"

namespace {

// The generated file of each size, written once into the temporary folder.
const std::string& FileFor(long elements) {
    static std::map<long, std::string> files;
    auto found = files.find(elements);
    if (found != files.end()) return found->second;
    const char* tmp = std::getenv("TMPDIR");
    std::string path = std::string(tmp ? tmp : "/tmp") + "/parse_bench_" + std::to_string(elements) + ".svg";
    std::ofstream(path, std::ios::binary) << bench::MakeLargeSvg(elements);
    return files.emplace(elements, path).first->second;
}

// Keeps the style texts as the CSS engine would receive them.
class SheetManager : public markup::CSSBaseManager {
  public:
    void SetDocument(markup::DocTree*) override {}
    void SetContext(markup::Node* node, markup::DocTree*) override { context_ = node; }
    void CollectStyleElements() override {
        for (markup::Node* n = context_ ? context_->FirstChild() : nullptr; n; n = n->NextSibling()) {
            if (auto* run = dynamic_cast<markup::DocElement*>(n)) AddStyleText(run->Text(), 0);
        }
    }
    void AddStyleText(const markup::String& text, std::uint8_t) override { bytes += text.Length(); }
    void ApplyCascade(markup::Node*, markup::ExtraObject*) override {}
    std::size_t bytes = 0;

  private:
    markup::Node* context_ = nullptr;
};

bool ParseOurs(const std::string& path) {
    markup::WXMLParser_WepImp parser;
    parser.Init("/nonexistent-parse-bench/");
    SheetManager sheets;
    const markup::WDOMHandle document = parser.Parse(path.c_str(), &sheets);
    return !document.IsNull() && sheets.bytes > 0;
}

bool ParseLibxml2(const std::string& path) {
    xmlDocPtr document = xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_HUGE);
    if (!document) return false;
    xmlFreeDoc(document);
    return true;
}

// This process's largest resident set (VmHWM), in KiB: it belongs to the
// program image, so a fresh run is measured from its own start.
long HighWaterMark() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

// The high-water mark of a fresh run of this program that makes one parse
// (arguments "--peak-of KIND FILE"); -1 when it failed.
long MaxRssOfRun(const char* kind, const std::string& path) {
    const std::string command = "/proc/" + std::to_string(getpid()) + "/exe --peak-of " + kind + " '" + path + "'";
    FILE* run = popen(command.c_str(), "r");
    if (!run) return -1;
    long kib = -1;
    if (std::fscanf(run, "%ld", &kib) != 1) kib = -1;
    return pclose(run) == 0 ? kib : -1;
}

// The growth over a run that parses nothing.
double PeakMegabytes(const char* kind, const std::string& path) {
    const long base = MaxRssOfRun("none", path);
    const long peak = MaxRssOfRun(kind, path);
    return peak < 0 || base < 0 ? -1.0 : static_cast<double>(peak - base) / 1024.0;
}

void Measure(benchmark::State& state, bool (*parse)(const std::string&), const char* kind) {
    const std::string& path = FileFor(state.range(0));
    for (auto _ : state) {
        if (!parse(path)) {
            state.SkipWithError("the parse failed");
            return;
        }
    }
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(in.tellg()));
    state.counters["peak_MB"] = PeakMegabytes(kind, path);
}

void BM_ParseOurs(benchmark::State& state) {
    Measure(state, ParseOurs, "ours");
}

void BM_ParseLibxml2(benchmark::State& state) {
    Measure(state, ParseLibxml2, "libxml2");
}

BENCHMARK(BM_ParseOurs)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLibxml2)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--peak-of") {
        const std::string kind = argv[2];
        if (kind != "none" && !(kind == "ours" ? ParseOurs(argv[3]) : ParseLibxml2(argv[3]))) return 1;
        std::printf("%ld\n", HighWaterMark());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
