// The host's fonts: the interface, and what a host built without the font
// libraries has instead of them (host/media/media_fonts.cpp otherwise).
#include "host/host_fonts.h"

namespace host {

HostFonts::~HostFonts() = default;

#if !defined(SVGFILTER_HOST_MEDIA)
std::unique_ptr<HostFonts> MakeHostFonts() {
    return nullptr;
}

void RegisterFontServices(ServiceRegistry&) {}
#endif

}  // namespace host
