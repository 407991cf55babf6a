// The colour module's two error boxes, shown through the platform's message
// sink: the system-modal one that names a code and a place in the source, and
// the task-modal one that names a file.
#include <cctype>
#include <string>

#include "colour/support.h"
#include "platform/messages.h"

namespace colour {
namespace {

constexpr const char* kDefaultCaption = "Colour";
// Flag 0 reports a failed allocation, any other flag a block that could not be used.
constexpr const char* kOutOfMemoryText = "There is not enough memory for the colour data.";
constexpr const char* kBlockUnusableText = "The colour data could not be used.";

}  // namespace

int ShowErrorBox(int code, const char* sourceFile, int line, const char* title, int flag) {
    std::string stem = sourceFile != nullptr ? sourceFile : "";
    stem = stem.substr(0, stem.find('.'));
    for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string caption = std::string(title != nullptr ? title : kDefaultCaption) + ": error " +
                                std::to_string(code) + " in " + stem + ", line " + std::to_string(line);
    platform::ShowMessage(platform::MessageKind::Error, caption,
                          flag == 0 ? kOutOfMemoryText : kBlockUnusableText);
    return 1;
}

int ClrErrorBox(int kind, std::string_view fileName) {
    std::string text;
    switch (kind) {
        case 4:
            text = FormatWithStrings("The file %s could not be written.", {fileName});
            break;
        case 1:
            text = FormatWithStrings("%s%s", {"The file was not found: ", fileName});
            break;
        case 2:
            text = FormatWithStrings("%s%s", {"The file could not be read: ", fileName});
            break;
        default:
            text = FormatWithStrings("%s%s", {"The file could not be used: ", fileName});
            break;
    }
    platform::ShowMessage(platform::MessageKind::Warning, kDefaultCaption, text);
    return 1;
}

}  // namespace colour
