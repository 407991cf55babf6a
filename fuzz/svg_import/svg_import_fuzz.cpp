// The whole import on documents of arbitrary bytes: parsed by the markup
// parser, styled by the style engine, read by the SVG reader and drawn on the
// stand-in host's import side through FilterEntry (import set-up, import,
// end import). Every input ends in a drawing or a failure: no crash, no
// fault out of the entry, the handle ended, the host's callback record given
// back, a drawing that leaves every group, clip, image handle and text object
// closed, and a failure that says so in one error box.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/import/import_host.h"
#include "host/stand_in_host.h"
#include "markup/parser/dictionary_registry.h"
#include "memory_file.h"
#include "platform/messages.h"
#include "svgfilter/filter_abi.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

struct Lane {
    platform::RecordingMessageSink messages;
    host::StandInHost host{&FilterEntry};
    host::import::ImportHost import{host};

    Lane() {
        platform::SetMessageSink(&messages);
        // As the tool runs for a user: no call log, which would grow with
        // every input's calls.
        host.Log().SetRecording(false);
        import.Log().SetRecording(false);
        import.SetDictionaryFolder(SVGFILTER_DICTIONARY_DIR);
    }

    // Gives back what the last import left in the host, so that each input
    // frees what it took (and the fuzzer's leak check stays quiet).
    void Forget() {
        import.Reset();
        messages.entries = {};
        markup::DictionaryRegistry::Instance().ForgetDictionaries();
    }
};

Lane* lane = nullptr;

}  // namespace

// What fontconfig loses of its own configuration when the font back ends
// give it back at exit is fontconfig's, not the import's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

// One host for the run, its fonts and the module's found once by a text of
// the warm-up: fontconfig keeps (and loses) some of what its set-up reads,
// which must not count against an input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lane = new Lane();
    const std::string warmUp =
        "<svg width='10' height='10'><text font-family='DejaVu Serif'>a</text>"
        "<text>b</text></svg>";
    lane->import.SetDocument(
        fuzzsupport::MemoryFileWith(reinterpret_cast<const std::uint8_t*>(warmUp.data()), warmUp.size()));
    lane->host.Call(svgf::kCmdImport);
    lane->host.Call(svgf::kCmdEndImport);
    lane->Forget();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lane->host.Context().errorCode = 0;
    lane->import.SetDocument(fuzzsupport::MemoryFileWith(data, size));

    Check(lane->host.Call(svgf::kCmdImportSetup) == 1);
    const int32_t drawn = lane->host.Call(svgf::kCmdImport);
    Check(lane->host.Call(svgf::kCmdEndImport) == 1);
    Check(lane->host.Context().filterObject == nullptr);

    const host::import::ImportBalance balance = lane->import.Balance();
    for (const std::string& problem : balance.problems)
        Check(problem.find("callback record") == std::string::npos);
    if (drawn != 0) {
        Check(balance.Balanced());
        (void)lane->import.Description();
    } else {
        size_t errors = 0;
        for (const auto& entry : lane->messages.entries) errors += entry.kind == platform::MessageKind::Error;
        Check(errors == 1);
    }
    lane->Forget();
    return 0;
}
