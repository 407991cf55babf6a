// Lookup of a module's compiled-in strings and dialog templates.
#include "platform/resources.h"

namespace platform {

int32_t LoadString(const ResourceModule* module, uint32_t id, char* buffer, int32_t size) {
    // A missing module still leaves the empty text: callers hand the buffer
    // straight on to a dialog.
    const StringResource* entry = module != nullptr ? FindString(module->strings, id) : nullptr;
    return CopyString(entry, buffer, size);
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
