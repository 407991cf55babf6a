// A host built without the font libraries: no fonts, and no font services
// in its table.
#include "host/host_fonts.h"

namespace host {

std::unique_ptr<HostFonts> MakeHostFonts() {
    return nullptr;
}

void RegisterFontServices(ServiceRegistry&) {}

}  // namespace host
