// A user-ink file from arbitrary bytes: parsed, and when it is whole, set as
// the table and every entry looked up and converted. Never a crash, never a
// read past the bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "colour/convert.h"
#include "colour/inks.h"
#include "platform/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static platform::RecordingMessageSink messages;
    platform::SetMessageSink(&messages);
    messages.entries.clear();
    std::vector<colour::UserInkEntry> entries;
    if (colour::ClrParseUserInkFile(std::string_view(reinterpret_cast<const char*>(data), size), &entries)) {
        colour::ClrSetUserInks(entries, std::string());
        if (entries.empty()) colour::ClrSetUserInks({{colour::ColorRecord::RGB(1, 2, 3), "x"}}, "");
        for (std::size_t i = 0; i <= entries.size() && i < 64; ++i) {
            colour::ColorRecord ref = colour::ColorRecord::Three(colour::kModelUserInkByName,
                                                                 static_cast<std::uint8_t>(i), 0, 50);
            colour::ColorRecord out;
            colour::ClrFindUserInk(&ref, &out);
            colour::ClrConvertColor(&out, colour::kModelRGB, &ref);
            if (i < entries.size()) colour::ClrUserInkToColor(&entries[i].colour, &out);
        }
        colour::ClrForgetUserInks();
    }
    return 0;
}
