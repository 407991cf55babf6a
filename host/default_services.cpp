// The services every stand-in host offers. Each family of services lives in
// a file of its own with a Register function called from here.
#include "host/stand_in_host.h"

namespace host {

void RegisterHandleServices(ServiceRegistry& registry);
void RegisterExportServices(ServiceRegistry& registry);

void RegisterDefaultServices(ServiceRegistry& registry) {
    RegisterHandleServices(registry);
    RegisterExportServices(registry);
}

}  // namespace host
