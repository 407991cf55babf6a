// Plays the export options dialog from command-line choices: sets each chosen
// control the way a user would and presses OK.
#ifndef TOOLS_OPTIONS_FLAGS_DRIVER_H
#define TOOLS_OPTIONS_FLAGS_DRIVER_H

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dialog.h"

namespace tools {

struct OptionChoices {
    std::optional<bool> textAsText;
    std::optional<bool> embedFonts;
    std::optional<bool> embeddedFontsFirst;
    std::optional<uint32_t> bitmapType;    // 0 JPEG, 1 GIF, 2 PNG
    std::optional<uint32_t> precision;     // user units per inch
    std::optional<uint32_t> cssPlacement;  // 0 internal, 1 external, 2 style attribute
};

class OptionsFlagsDriver : public platform::DialogDriver {
  public:
    explicit OptionsFlagsDriver(OptionChoices choices) : choices_(choices) {}

    void Play(platform::Dialog& dialog) override;

    // Empty when every choice was taken; else what the dialog refused.
    const std::string& Problem() const { return problem_; }

  private:
    void SetCheck(platform::Dialog& dialog, int32_t id, bool wanted, const char* what);
    void Refused(const std::string& what);

    OptionChoices choices_;
    std::string problem_;
};

}  // namespace tools

#endif  // TOOLS_OPTIONS_FLAGS_DRIVER_H
