// The diagnostic sinks of the DTD compiler.
#include "markup/dtd/diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace markup::dtd {

namespace {

class StandardOutputSink : public DiagnosticSink {
  public:
    void Print(std::string_view text) override { std::fwrite(text.data(), 1, text.size(), stdout); }
};

class QuietSink : public DiagnosticSink {
  public:
    void Print(std::string_view) override {}
};

}  // namespace

void DiagnosticSink::Printf(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length > 0) {
        std::vector<char> text(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, again);
        Print({text.data(), static_cast<std::size_t>(length)});
    }
    va_end(again);
}

DiagnosticSink& StandardOutput() {
    static StandardOutputSink sink;
    return sink;
}

DiagnosticSink& Quiet() {
    static QuietSink sink;
    return sink;
}

}  // namespace markup::dtd
