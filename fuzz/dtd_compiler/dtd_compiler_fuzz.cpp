// The DTD compiler on arbitrary text: it answers a dictionary without
// crashing, hanging or leaking, and that dictionary writes to a .dic file
// and reads back to itself.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "markup/dtd/dtd_compiler.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/dictionary_dump.h"
#include "platform/messages.h"

namespace {

class NoMessages : public platform::MessageSink {
  public:
    void Show(platform::MessageKind, const std::string&, const std::string&) override {}
};

std::string ScratchPath() {
    return "/tmp/fuzz-dtd-" + std::to_string(::getpid()) + ".dic";
}

// Removes the scratch file when the run ends.
struct ScratchFile {
    ~ScratchFile() { std::remove(ScratchPath().c_str()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFile scratch;
    static NoMessages quiet;
    static platform::ScopedMessageSink sink(&quiet);
    static const std::string path = ScratchPath();

    markup::String text;
    text.Append(reinterpret_cast<const char*>(data), static_cast<std::uint32_t>(size));
    const auto compiled = markup::dtd::CompileDtdFromString(text, markup::dtd::Quiet());
    if (!compiled) {
        if (size != 0) std::abort();
        return 0;
    }
    if (compiled->Save(path.c_str()) != markup::kErr_None) std::abort();
    markup::Dictionary reread;
    if (reread.Load(path.c_str(), true) != markup::kErr_None) std::abort();
    if (markup::DumpDictionary(reread) != markup::DumpDictionary(*compiled)) std::abort();
    return 0;
}
