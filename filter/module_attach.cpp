// What the module does when it is loaded and unloaded: it records its own
// identity, so that its dialogs and strings are found in its own resources
// whichever program loaded it, and installs the raster library's blit
// pipeline, through which the image cache scales and converts pictures.
#include "blit/stretch_blit.h"
#include "exporter_hooks.h"
#include "module_resources.h"
#include "owned_blocks.h"

namespace svgf::detail {
namespace {

constexpr const platform::DialogTemplate* kDialogs[] = {&kOptionsDialogTemplate};

const platform::ResourceModule* g_instance = nullptr;
const platform::ResourceModule* g_resourceHandle = nullptr;

__attribute__((constructor)) void ModuleAttach() {
    g_instance = &kModuleResources;
    g_resourceHandle = &kModuleResources;
    // No tile manager is installed: every picture stays one block.
    raster::blit::RIPInstallBlitPipeline();
}

// A host that unloads the module without ending its work leaves objects and
// records behind that nothing can reach any more: free them.
__attribute__((destructor)) void ModuleDetach() {
    g_instance = nullptr;
    g_resourceHandle = nullptr;
    ReleaseAllOwned([](BlockKind kind, void* block) {
        if (kind == BlockKind::kExporter) DestroyExporter(static_cast<SVGExp*>(block));
    });
}

}  // namespace

const platform::ResourceModule kModuleResources{"svgfilter", kStringTable, kDialogs};

const platform::ResourceModule* ModuleInstance() {
    return g_instance;
}
const platform::ResourceModule* ResourceHandle() {
    return g_resourceHandle;
}

}  // namespace svgf::detail
