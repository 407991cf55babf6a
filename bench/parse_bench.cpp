// The whole parse of a large SVG into a document tree, beside libxml2
// parsing the same file into its tree, for 10^4, 10^5 and 10^6 elements.
//
// The document is generated as our exporter writes one: prolog, DOCTYPE,
// an internal style sheet of 300 classes, then groups of rectangles, paths
// and texts with class and style attributes (about 70 bytes an element, so
// 10^5 elements make some 7 MB). Time is Google Benchmark's; peak memory is
// the growth of the resident set of a child process that makes one parse
// (counter peak_MB), over a child that makes none.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "markup/css_base_manager.h"
#include "markup/parser/dictionary_registry.h"
#include "markup/parser/xml_parser.h"

namespace {

constexpr int kClasses = 300;

std::string MakeSvg(long elements) {
    std::string out;
    out.reserve(static_cast<std::size_t>(elements) * 75 + 65536);
    out += "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n"
           "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 20000303 Stylable//EN\" "
           "\"http://www.w3.org/TR/2000/03/WD-SVG-20000303/DTD/svg-20000303-stylable.dtd\">\r\n"
           "<!-- Creator: Lumavecta -->\r\n"
           "<svg xml:space=\"preserve\" width=\"4in\" height=\"6in\" viewBox=\"0 0 4000 6000\">\r\n"
           " <defs>\r\n  <style type=\"text/css\">\r\n   <![CDATA[\r\n";
    char line[160];
    for (int i = 0; i < kClasses; ++i) {
        std::snprintf(line, sizeof line, "    .fil%d {fill:#%06X;stroke:#000000;stroke-width:%d}\r\n", i,
                      (i * 2654435761u) & 0xFFFFFFu, 1 + i % 20);
        out += line;
    }
    out += "   ]]>\r\n  </style>\r\n </defs>\r\n";
    long made = 0;
    for (long group = 0; made < elements; ++group) {
        std::snprintf(line, sizeof line, " <g id=\"g%ld\">\r\n", group);
        out += line;
        ++made;
        for (int i = 0; i < 20 && made < elements; ++i, ++made) {
            const long n = made;
            switch (n % 3) {
                case 0:
                    std::snprintf(line, sizeof line, "  <rect class=\"fil%ld\" x=\"%ld\" y=\"%ld\" width=\"40\"/>\r\n",
                                  n % kClasses, n % 4000, n % 6000);
                    break;
                case 1:
                    std::snprintf(line, sizeof line, "  <path class=\"fil%ld\" d=\"M%ld %ld l20 0 0 20z\"/>\r\n",
                                  n % kClasses, n % 4000, n % 6000);
                    break;
                default:
                    std::snprintf(line, sizeof line, "  <text x=\"%ld\" y=\"%ld\">t%ld</text>\r\n", n % 4000,
                                  n % 6000, n);
                    break;
            }
            out += line;
        }
        out += " </g>\r\n";
    }
    out += "</svg>\r\n";
    return out;
}

// The generated file of each size, written once into the temporary folder.
const std::string& FileFor(long elements) {
    static std::map<long, std::string> files;
    auto found = files.find(elements);
    if (found != files.end()) return found->second;
    const char* tmp = std::getenv("TMPDIR");
    std::string path = std::string(tmp ? tmp : "/tmp") + "/parse_bench_" + std::to_string(elements) + ".svg";
    std::ofstream(path, std::ios::binary) << MakeSvg(elements);
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

long MaxRssOfChild(const std::function<bool()>& work) {
    const pid_t pid = fork();
    if (pid == 0) _exit(work() ? 0 : 1);
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    return usage.ru_maxrss;  // KiB
}

double PeakMegabytes(const std::function<bool()>& work) {
    const long base = MaxRssOfChild([] { return true; });
    const long peak = MaxRssOfChild(work);
    return peak < 0 || base < 0 ? -1.0 : static_cast<double>(peak - base) / 1024.0;
}

void Measure(benchmark::State& state, bool (*parse)(const std::string&)) {
    const std::string& path = FileFor(state.range(0));
    for (auto _ : state) {
        if (!parse(path)) {
            state.SkipWithError("the parse failed");
            return;
        }
    }
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(in.tellg()));
    state.counters["peak_MB"] = PeakMegabytes([&] { return parse(path); });
}

void BM_ParseOurs(benchmark::State& state) {
    Measure(state, ParseOurs);
}

void BM_ParseLibxml2(benchmark::State& state) {
    Measure(state, ParseLibxml2);
}

BENCHMARK(BM_ParseOurs)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLibxml2)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
