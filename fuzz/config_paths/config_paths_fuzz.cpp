// The host's application ini from arbitrary text, and the path functions on
// the text itself: never a crash, and collapsing never lengthens a path.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "colour/config_paths.h"
#include "colour/host_config.h"
#include "platform/host_paths.h"
#include "platform/memory_settings_store.h"
#include "platform/messages.h"
#include "platform/settings_store.h"

namespace {

struct Installation {
    Installation() {
        std::string pattern = (std::filesystem::temp_directory_path() / "config-fuzzXXXXXX").string();
        root = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(root + "/Config/Sub");
        std::filesystem::create_directories(root + "/Data");
        settings.SetText("SOFTWARE\\Tavix\\Lumavecta\\8.0", "ConfigDir", root + "/Config");
        platform::SetSettingsStore(&settings);
        platform::SetMessageSink(&messages);
    }
    std::string root;
    platform::MemorySettingsStore settings;
    platform::RecordingMessageSink messages;  // kept from the terminal, emptied each run
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Installation installation;
    installation.messages.entries.clear();
    const std::string text(reinterpret_cast<const char*>(data), size);

    {
        std::ofstream ini(installation.root + "/Config/tavixapp.ini", std::ios::binary | std::ios::trunc);
        ini << text;
    }
    colour::ClrForgetHostConfig();
    char out[colour::kMaxPath];
    colour::GetDataDir(out, sizeof out);
    colour::GetColorDir(out, 5);
    colour::GetProgramsDir(out, sizeof out);

    std::string collapsed;
    colour::CollapseDotSegments(collapsed, text);
    if (collapsed.size() > text.size()) __builtin_trap();
    std::string resolved;
    colour::ResolveRelativePath("C:\\Host\\Config", text, resolved);
    colour::ResolveRelativePath(installation.root + "/Config/", text, resolved);
    std::string dir, name;
    colour::SplitDirAndName(text, &dir, &name);
    if (dir.size() + name.size() != text.size()) __builtin_trap();
    colour::MakeSiblingPath(text, "profiles.ccm");
    std::string appended = text;
    colour::AppendPathSeparator(appended);
    if (text.size() < colour::kMaxPath) platform::LocalPath(installation.root + "/" + text);
    return 0;
}
