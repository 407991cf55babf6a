// The services every stand-in host offers. Each family of services lives in
// a file of its own with a Register function called from here.
#include "host/host_fonts.h"
#include "host/stand_in_host.h"

#if defined(SVGFILTER_HOST_MEDIA)
#include "host/media/stand_in_images.h"
#endif

namespace host {

void RegisterHandleServices(ServiceRegistry& registry);
void RegisterExportServices(ServiceRegistry& registry);

void RegisterDefaultServices(ServiceRegistry& registry) {
    RegisterHandleServices(registry);
    RegisterExportServices(registry);
    // Without the image libraries the bitmap services stay unset.
#if defined(SVGFILTER_HOST_MEDIA)
    RegisterBitmapServices(registry);
#endif
    // Without the font libraries this registers nothing.
    RegisterFontServices(registry);
}

}  // namespace host
