// Handle services: the host releases the drawing handle the module is done with.
#include "host/stand_in_host.h"

namespace host {
namespace {

int32_t SVGF_CALL ReleaseHandle(svgf::HostHandle) {
    return 1;
}

}  // namespace

void RegisterHandleServices(ServiceRegistry& registry) {
    registry.Add<svgf::svc::kReleaseHandle, &ReleaseHandle>("ReleaseHandle");
}

}  // namespace host
