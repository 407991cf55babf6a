// The module's compiled-in resources and its identity: the resource module
// that names it to the platform for its strings and dialogs.
#ifndef SVGFILTER_MODULE_RESOURCES_H
#define SVGFILTER_MODULE_RESOURCES_H

#include "platform/resources.h"

namespace svgf::detail {

extern const platform::DialogTemplate kOptionsDialogTemplate;
extern const std::span<const platform::StringResource> kStringTable;
extern const platform::ResourceModule kModuleResources;

// Set when the module is loaded, cleared when it is unloaded: the instance
// that dialogs and strings are loaded from, and the module's resource handle.
const platform::ResourceModule* ModuleInstance();
const platform::ResourceModule* ResourceHandle();

}  // namespace svgf::detail

#endif  // SVGFILTER_MODULE_RESOURCES_H
