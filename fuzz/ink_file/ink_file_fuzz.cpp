// The ink catalogue from arbitrary text: every line parsed and stored, then
// every ink looked up by number, by name and by nearest colour. Never a
// crash, never a read past the block.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "colour/inks.h"
#include "platform/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static platform::RecordingMessageSink messages;
    platform::SetMessageSink(&messages);
    messages.entries.clear();
    colour::ClrLoadInkCatalogueText(std::string_view(reinterpret_cast<const char*>(data), size));
    colour::ColorRecord c;
    for (int number = -1; number <= colour::kInkCount; ++number) {
        colour::ClrGetInkColor(number, &c);
        colour::ClrGetInkRGB(number, &c);
        (void)colour::ClrInkName(number);
    }
    const colour::ColorRecord probe = colour::ColorRecord::RGB(size & 0xFF, 128, 7);
    colour::ClrNearestInk(&c, &probe);
    colour::ClrForgetInkCatalogue();
    return 0;
}
