// The callback block: help and directory entries, and its installation into
// a filter context.
#include <cstdlib>
#include <cstring>

#include "imageload/filter_callbacks.h"
#include "filter_files.h"
#include "platform/help.h"
#include "platform/window_model.h"

namespace imageload {
namespace {

FilterContext* g_current = nullptr;

// The help-file entry's buffer has no length: what it writes is kept to the
// size of a path buffer, which is what callers give it.
constexpr std::size_t kPathBufferSize = 260;

}  // namespace

FilterContext* CurrentFilterContext() { return g_current; }

void MakeFilterContextCurrent(FilterContext* context) { g_current = context; }

std::int32_t HelpFileName(std::int32_t, char* buffer, std::int32_t) {
    if (!buffer) return 1;
    // A module that never set its directory gets the help file's name alone.
    const char* directory = g_current && g_current->helpDirectory ? g_current->helpDirectory : "";
    std::string name = std::string(directory) + kHelpFileName;
    if (name.size() >= kPathBufferSize) name.resize(kPathBufferSize - 1);
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    return 1;
}

std::int32_t ContextHelp(const void* instance, const char* helpFile, std::int32_t,
                         const std::uintptr_t* helpInfo, std::uint32_t id) {
    const std::uint8_t* data = platform::FindResourceData(instance, kHelpResourceType, id);
    if (data && helpInfo) {
        platform::WinHelp(reinterpret_cast<const platform::Window*>(helpInfo[3]), helpFile,
                          platform::kHelpDialogItem, data);
    }
    return 1;
}

std::int32_t ContextMenuHelp(const void* instance, const char* helpFile, const void* window, std::uint32_t point,
                             std::uint32_t id) {
    const auto* target = static_cast<const platform::Window*>(window);
    const platform::Point at{static_cast<std::int16_t>(point & 0xFFFF), static_cast<std::int16_t>(point >> 16)};
    if (!target || !platform::ClientRectOnScreen(*target).Contains(at)) return 0;
    if (const std::uint8_t* data = platform::FindResourceData(instance, kHelpResourceType, id)) {
        platform::WinHelp(target, helpFile, platform::kHelpContextMenu, data);
    }
    return 1;
}

std::int32_t DirectoryQuery(char* buffer, std::int32_t length) {
    if (buffer && length > 0) std::memset(buffer, 0, static_cast<std::size_t>(length));
    return 0;
}

std::int32_t InitFilterCallbacks(FilterContext* context) {
    if (!context) return 0;
    g_current = context;
    FreeFilterCallbacks(context);
    auto* block = static_cast<FilterCallbackBlock*>(std::calloc(1, sizeof(FilterCallbackBlock)));
    if (!block) return 0;
    block->helpFileName = HelpFileName;
    block->contextHelp = ContextHelp;
    block->contextMenuHelp = ContextMenuHelp;
    block->directory = DirectoryQuery;
    context->callbacks = block;
    InstallFileCallbacks(context);
    return 1;
}

void FreeFilterCallbacks(FilterContext* context) {
    if (!context) return;
    std::free(context->callbacks);
    context->callbacks = nullptr;
}

void ForgetFilterContext(const FilterContext* context) {
    if (g_current == context) g_current = nullptr;
}

}  // namespace imageload
