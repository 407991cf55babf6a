// Help resources by (instance, type, id) and the recording help viewer.
#include "platform/help.h"

#include <algorithm>

namespace platform {
namespace {

struct ResourceEntry {
    const void* instance;
    std::uint32_t type;
    std::uint32_t id;
    std::span<const std::uint8_t> data;
};

struct HelpState {
    std::mutex lock;
    std::vector<ResourceEntry> resources;
    std::vector<HelpRequest> requests;
};

HelpState& State() {
    static HelpState state;
    return state;
}

}  // namespace

void RegisterResourceData(const void* instance, std::uint32_t type, std::uint32_t id,
                          std::span<const std::uint8_t> data) {
    HelpState& state = State();
    std::lock_guard guard(state.lock);
    state.resources.push_back({instance, type, id, data});
}

void UnregisterResourceData(const void* instance) {
    HelpState& state = State();
    std::lock_guard guard(state.lock);
    std::erase_if(state.resources, [&](const ResourceEntry& e) { return e.instance == instance; });
}

const std::uint8_t* FindResourceData(const void* instance, std::uint32_t type, std::uint32_t id) {
    HelpState& state = State();
    std::lock_guard guard(state.lock);
    for (const ResourceEntry& e : state.resources) {
        if (e.instance == instance && e.type == type && e.id == id) return e.data.data();
    }
    return nullptr;
}

bool WinHelp(const Window* window, const char* file, std::uint32_t command, const void* data) {
    HelpState& state = State();
    std::lock_guard guard(state.lock);
    state.requests.push_back({window, file ? file : "", command, data});
    return true;
}

std::vector<HelpRequest> HelpRequests() {
    HelpState& state = State();
    std::lock_guard guard(state.lock);
    return state.requests;
}

void ClearHelpRequests() {
    HelpState& state = State();
    std::lock_guard guard(state.lock);
    state.requests.clear();
}

Rect ClientRectOnScreen(const Window& window) {
    Rect rect = window.Bounds();
    for (const Window* parent = window.Parent(); parent; parent = parent->Parent()) {
        rect = rect.Offset(parent->Bounds().left, parent->Bounds().top);
    }
    return {rect.left, rect.top, rect.left + rect.Width(), rect.top + rect.Height()};
}

}  // namespace platform
