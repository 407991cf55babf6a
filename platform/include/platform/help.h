// Context help: help resources that modules carry by id and type, and the
// help viewer, which here records what it was asked to show (there is no
// help viewer on this system).
#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/window_model.h"

namespace platform {

// Help commands.
inline constexpr std::uint32_t kHelpContextMenu = 10;
inline constexpr std::uint32_t kHelpDialogItem = 12;

// Registers a block of data as resource (type, id) of a module instance, as
// a module's own resources would be; the data must outlive the registration.
void RegisterResourceData(const void* instance, std::uint32_t type, std::uint32_t id,
                          std::span<const std::uint8_t> data);
void UnregisterResourceData(const void* instance);
// The data of resource (type, id) of the instance, or null.
const std::uint8_t* FindResourceData(const void* instance, std::uint32_t type, std::uint32_t id);

struct HelpRequest {
    const Window* window = nullptr;
    std::string file;
    std::uint32_t command = 0;
    const void* data = nullptr;
};

// Shows help (records the request); true.
bool WinHelp(const Window* window, const char* file, std::uint32_t command, const void* data);
// The requests so far, oldest first, and clearing them.
std::vector<HelpRequest> HelpRequests();
void ClearHelpRequests();

// The window's client rectangle in screen coordinates: its bounds offset by
// its parents' client origins.
Rect ClientRectOnScreen(const Window& window);

}  // namespace platform
