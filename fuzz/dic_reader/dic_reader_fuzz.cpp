// The .dic readers on arbitrary bytes: the markup and the CSS dictionary
// loaders answer a status, never crash, and whatever they read writes and
// reads back to itself.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "markup/local_file_stream.h"
#include "markup/parser/css_dictionary.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/dictionary_dump.h"
#include "platform/messages.h"

namespace {

class NoMessages : public platform::MessageSink {
  public:
    void Show(platform::MessageKind, const std::string&, const std::string&) override {}
};

std::string TempPath(const char* what) {
    return "/tmp/fuzz-dic-" + std::to_string(::getpid()) + "-" + what;
}

// Removes the scratch files when the run ends.
struct ScratchFiles {
    ~ScratchFiles() {
        for (const char* what : {"input", "once", "twice"}) std::remove(TempPath(what).c_str());
    }
};

bool WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool whole = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && whole;
}

// Written and read twice: the second reading must equal the first reread.
template <class D, class Load, class Dump>
void CheckRoundTrip(const D& read, Load load, Dump dump) {
    const std::string once = TempPath("once");
    const std::string twice = TempPath("twice");
    if (read.Save(once.c_str()) != markup::kErr_None) std::abort();
    D first;
    if (load(first, once) != markup::kErr_None) std::abort();
    if (first.Save(twice.c_str()) != markup::kErr_None) std::abort();
    D second;
    if (load(second, twice) != markup::kErr_None) std::abort();
    if (dump(first) != dump(second)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFiles scratch;
    static NoMessages quiet;
    static platform::ScopedMessageSink sink(&quiet);
    static const std::string input = TempPath("input");
    if (!WriteFile(input, data, size)) return 0;

    auto loadMarkup = [](markup::Dictionary& d, const std::string& path) {
        return d.Load(path.c_str(), false);
    };
    markup::Dictionary dictionary;
    if (loadMarkup(dictionary, input) == markup::kErr_None) {
        CheckRoundTrip(dictionary, loadMarkup, markup::DumpDictionary);
    } else {
        markup::DumpDictionary(dictionary);
    }

    auto loadCSS = [](markup::CSSDictionary& d, const std::string& path) { return d.Load(path.c_str()); };
    markup::CSSDictionary css;
    if (loadCSS(css, input) == markup::kErr_None) {
        CheckRoundTrip(css, loadCSS, markup::DumpCSSDictionary);
    } else {
        markup::DumpCSSDictionary(css);
    }
    return 0;
}
