// Lookup of a module's compiled-in strings and dialog templates.
#include "platform/resources.h"

#include <algorithm>
#include <cstring>

namespace platform {

int32_t LoadString(const ResourceModule* module, uint32_t id, char* buffer, int32_t size) {
    if (module == nullptr || buffer == nullptr || size <= 0) return 0;
    for (const StringResource& entry : module->strings) {
        if (entry.id != id) continue;
        const size_t count = std::min(entry.text.size(), static_cast<size_t>(size - 1));
        std::memcpy(buffer, entry.text.data(), count);
        buffer[count] = '\0';
        return static_cast<int32_t>(count);
    }
    buffer[0] = '\0';
    return 0;
}

const DialogTemplate* FindDialog(const ResourceModule* module, int32_t id) {
    if (module == nullptr) return nullptr;
    for (const DialogTemplate* dialog : module->dialogs) {
        if (dialog != nullptr && dialog->id == id) return dialog;
    }
    return nullptr;
}

int32_t DialogBox(const ResourceModule* module, int32_t id, const void* parentWindow,
                  DialogProcedure& procedure) {
    const DialogTemplate* dialog = FindDialog(module, id);
    if (dialog == nullptr) return kDialogFailed;
    return RunModalDialog(*dialog, procedure, parentWindow);
}

}  // namespace platform
