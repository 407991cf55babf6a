// The registry's compile hooks over the DTD compiler.
#include "markup/dtd/registry_hook.h"

#include "markup/dtd/diagnostics.h"
#include "markup/dtd/dtd_compiler.h"
#include "markup/parser/dictionary_registry.h"

namespace markup::dtd {

namespace {

std::unique_ptr<Dictionary> FromFile(const String& path) {
    return CompileDtdFromFile(path, Quiet());
}

std::unique_ptr<Dictionary> FromText(const String& text) {
    return CompileDtdFromString(text, Quiet());
}

}  // namespace

void InstallRegistryCompiler() {
    DictionaryRegistry::Instance().SetDtdCompiler(&FromFile, &FromText);
}

}  // namespace markup::dtd
