// The module's colour settings, the composite choice between the kinds of a
// pair, and the installed managed row path.
#include "colour/settings.h"

#include <atomic>

#include "colour/kinds_table.h"
#include "cms_row_path.h"
#include "colour/managed_rows.h"

namespace colour {
namespace {

ClrSettings g_settings;
std::atomic<int> g_compositeFlag{0};
std::atomic<ManagedRowPath*> g_managedPath{nullptr};

}  // namespace

ClrSettings& ClrGetSettings() {
    return g_settings;
}

int ClrKindsComposite(const ClrKindsTable* kinds) {
    const std::int32_t setting = g_settings.composite;
    if (setting == 2) return 1;
    if (setting == 1) return 0;
    return kinds != nullptr ? static_cast<int>(kinds->words[kKindsComposite]) : 1;
}

std::uint32_t ClrSetKindsComposite(ClrKindsTable* kinds, std::uint32_t value) {
    std::uint32_t previous = 0;
    if (kinds != nullptr) {
        previous = kinds->words[kKindsComposite];
        const std::int32_t setting = g_settings.composite;
        kinds->words[kKindsComposite] = setting != 0 ? static_cast<std::uint32_t>(setting != 1) : value;
    }
    g_compositeFlag = ClrKindsComposite(nullptr);
    return previous;
}

int ClrModuleCompositeFlag() {
    return g_compositeFlag;
}

ManagedRowPath* ClrSetManagedRowPath(ManagedRowPath* path) {
    return g_managedPath.exchange(path);
}

ManagedRowPath* ClrActiveManagedRowPath() {
    if (!ClrColourManagementOn()) return nullptr;
    ManagedRowPath* path = g_managedPath.load();
    return path != nullptr ? path : &detail::CmsManagedRowPath();
}

}  // namespace colour
