#include "host/service_registry.h"

namespace host {

void ServiceRegistry::Set(size_t index, std::string_view name, svgf::HostServiceFn entry) {
    if (index >= svgf::kServiceSlots) return;
    entries_[index] = entry;
    names_[index] = std::string(name);
}

void ServiceRegistry::Remove(size_t index) {
    Set(index, {}, nullptr);
}

std::string_view ServiceRegistry::NameOf(size_t index) const {
    return index < svgf::kServiceSlots ? std::string_view(names_[index]) : std::string_view();
}

void ServiceRegistry::Fill(svgf::HostServiceTable& table) const {
    for (size_t i = 0; i < svgf::kServiceSlots; ++i) table.slot[i] = entries_[i];
}

}  // namespace host
