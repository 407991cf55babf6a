// The compiler's entry points: a stream, a file, a text.
#include <fstream>
#include <sstream>

#include "markup/dtd/dtd_compiler.h"
#include "markup/parser/dictionary.h"

namespace markup::dtd {

std::unique_ptr<Dictionary> CompileDtd(std::istream* input, DiagnosticSink& sink) {
    if (!input) return nullptr;
    DtdCompiler compiler(sink);
    return compiler.Compile(*input);
}

std::unique_ptr<Dictionary> CompileDtdFromFile(const String& path, DiagnosticSink& sink) {
    std::ifstream input(path.Text());
    if (!input) return nullptr;
    return CompileDtd(&input, sink);
}

std::unique_ptr<Dictionary> CompileDtdFromString(const String& text, DiagnosticSink& sink) {
    if (text.IsEmpty()) return nullptr;
    std::istringstream input(std::string(text.Text(), text.Length()));
    return CompileDtd(&input, sink);
}

}  // namespace markup::dtd
