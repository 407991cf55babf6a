// Resources a module carries in its own image: numbered strings and dialog
// templates. A module names itself to the platform by the address of its
// ResourceModule, the way a loaded library is named by its instance handle.
#ifndef PLATFORM_RESOURCES_H
#define PLATFORM_RESOURCES_H

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/dialog.h"
#include "platform/resource_strings.h"

namespace platform {

struct ResourceModule {
    std::string_view name;
    StringTable strings;
    std::span<const DialogTemplate* const> dialogs;
};

// CopyString of the module's string `id`: cut to fit and always terminated;
// answers the number of characters copied, 0 when there is no module, the
// module has no such string or the buffer has no room.
int32_t LoadString(const ResourceModule* module, uint32_t id, char* buffer, int32_t size);

// The module's dialog template `id`, or null.
const DialogTemplate* FindDialog(const ResourceModule* module, int32_t id);

// Runs the module's dialog `id` modally over `parentWindow`; kDialogFailed when
// the module has no such dialog or the parent no driver.
int32_t DialogBox(const ResourceModule* module, int32_t id, const void* parentWindow,
                  DialogProcedure& procedure);

}  // namespace platform

#endif  // PLATFORM_RESOURCES_H
