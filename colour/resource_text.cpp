// Resource strings of the colour module and the safe formatting of texts
// that come from outside.
#include <atomic>
#include <cstring>

#include "colour/support.h"
#include "platform/resource_strings.h"

namespace colour {
namespace {

std::atomic<const platform::ResourceModule*> g_resourceModule{nullptr};

}  // namespace

const platform::ResourceModule* GetResourceModule() {
    return g_resourceModule.load();
}

const platform::ResourceModule* SetResourceModule(const platform::ResourceModule* module) {
    return g_resourceModule.exchange(module);
}

std::string LoadResString(std::uint32_t id, int maxChars) {
    if (maxChars <= 0) return {};
    const platform::ResourceModule* module = GetResourceModule();
    const platform::StringResource* entry =
        module != nullptr ? platform::FindString(module->strings, id) : nullptr;
    // What the module lacks comes from the host.
    if (entry == nullptr) entry = platform::FindResourceString(id);
    if (entry == nullptr) return {};
    return std::string(entry->text.substr(0, static_cast<size_t>(maxChars)));
}

std::string FormatWithStrings(std::string_view format, std::initializer_list<std::string_view> args) {
    std::string text;
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 's') {
                if (next != args.end()) text.append(*next++);
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                text += '%';
                ++i;
                continue;
            }
        }
        text += c;
    }
    return text;
}

}  // namespace colour
