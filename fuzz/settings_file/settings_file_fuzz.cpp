// The settings file on arbitrary text: lines that do not parse are skipped,
// and a value comes back whole into a buffer large enough, or with its size
// and kMoreData into one too small, never past the buffer's end.
//
// Besides the value the module reads ("Shorthand" under its font key), the
// first section and the first name in the input are asked for.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "memory_file.h"
#include "platform/ini_settings_store.h"

namespace {

// Reads into an exact-size heap buffer, so that a write past it is caught.
void Ask(platform::SettingsStore& store, std::string_view key, std::string_view name, uint32_t capacity) {
    std::vector<uint8_t> buffer(capacity);
    uint32_t size = capacity;
    const platform::SettingsStatus status =
        store.ReadValue(key, name, capacity == 0 ? nullptr : buffer.data(), &size);
    if ((status == platform::SettingsStatus::kOk && size > capacity) ||
        (status == platform::SettingsStatus::kMoreData && size <= capacity && capacity != 0)) {
        std::fprintf(stderr, "value of %u bytes answered for a buffer of %u\n", size, capacity);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 65536) return -1;
    platform::IniSettingsStore store(fuzzsupport::MemoryFileWith(data, size));

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string key = "SOFTWARE\\Tavix\\SVGFont";
    std::string name = "Shorthand";
    store.HasKey(key);
    for (uint32_t capacity : {0u, 1u, 4u, 64u}) Ask(store, key, name, capacity);

    const size_t open = text.find('[');
    const size_t close = open == std::string_view::npos ? open : text.find(']', open);
    if (close != std::string_view::npos) key = std::string(text.substr(open + 1, close - open - 1));
    const size_t equals = text.find('=', close == std::string_view::npos ? 0 : close);
    if (equals != std::string_view::npos) {
        size_t start = text.rfind('\n', equals);
        start = start == std::string_view::npos ? 0 : start + 1;
        name = std::string(text.substr(start, equals - start));
    }
    store.HasKey(key);
    for (uint32_t capacity : {0u, 3u, 256u}) Ask(store, key, name, capacity);
    return 0;
}
