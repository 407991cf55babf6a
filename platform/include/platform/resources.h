// Resources a module carries in its own image: numbered strings and dialog
// templates. A module names itself to the platform by the address of its
// ResourceModule, the way a loaded library is named by its instance handle.
#ifndef PLATFORM_RESOURCES_H
#define PLATFORM_RESOURCES_H

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/dialog.h"

namespace platform {

struct StringResource {
    uint32_t id;
    std::string_view text;
};

struct ResourceModule {
    std::string_view name;
    std::span<const StringResource> strings;
    std::span<const DialogTemplate* const> dialogs;
};

// Copies string `id` into `buffer` of `size` bytes, cut to fit and always
// terminated; answers the number of characters copied, 0 when the module has
// no such string or the buffer has no room.
int32_t LoadString(const ResourceModule* module, uint32_t id, char* buffer, int32_t size);

// The module's dialog template `id`, or null.
const DialogTemplate* FindDialog(const ResourceModule* module, int32_t id);

// Runs the module's dialog `id` modally over `parentWindow`; kDialogFailed when
// the module has no such dialog or the parent no driver.
int32_t DialogBox(const ResourceModule* module, int32_t id, const void* parentWindow,
                  DialogProcedure& procedure);

}  // namespace platform

#endif  // PLATFORM_RESOURCES_H
