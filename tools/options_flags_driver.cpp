// The options dialog's controls, as a user of it knows them.
#include "options_flags_driver.h"

namespace tools {
namespace {

constexpr int32_t kAsText = 1000;
constexpr int32_t kAsCurves = 1001;
constexpr int32_t kEmbedFonts = 1024;
constexpr int32_t kEmbeddedFontsFirst = 1025;
constexpr int32_t kBitmapType = 1028;
constexpr int32_t kPrecision = 1030;
constexpr int32_t kCssInternal = 1033;
constexpr int32_t kCssStyleAttribute = 1034;
constexpr int32_t kCssExternal = 1035;

}  // namespace

void OptionsFlagsDriver::Refused(const std::string& what) {
    if (problem_.empty()) problem_ = "the options dialog refused " + what;
}

void OptionsFlagsDriver::SetCheck(platform::Dialog& dialog, int32_t id, bool wanted, const char* what) {
    if (dialog.IsChecked(id) != wanted && !dialog.Click(id)) Refused(what);
}

void OptionsFlagsDriver::Play(platform::Dialog& dialog) {
    if (choices_.textAsText && !dialog.Click(*choices_.textAsText ? kAsText : kAsCurves))
        Refused("the text choice");
    // Priority can only be set while embedding is on, so embedding goes first.
    if (choices_.embedFonts) SetCheck(dialog, kEmbedFonts, *choices_.embedFonts, "the font embedding");
    if (choices_.embeddedFontsFirst) {
        SetCheck(dialog, kEmbeddedFontsFirst, *choices_.embeddedFontsFirst, "the embedded font priority");
    }
    // The bitmap list holds JPEG, GIF and PNG in this order.
    if (choices_.bitmapType && !dialog.ChooseItem(kBitmapType, static_cast<int32_t>(*choices_.bitmapType))) {
        Refused("the bitmap type");
    }
    if (choices_.precision) {
        const int32_t index = dialog.FindItemExact(kPrecision, "1 : " + std::to_string(*choices_.precision));
        if (index < 0 || !dialog.ChooseItem(kPrecision, index)) Refused("the precision");
    }
    if (choices_.cssPlacement) {
        const int32_t radios[] = {kCssInternal, kCssExternal, kCssStyleAttribute};
        if (*choices_.cssPlacement > 2 || !dialog.Click(radios[*choices_.cssPlacement]))
            Refused("the CSS placement");
    }
    if (problem_.empty()) {
        dialog.Click(platform::kIdOk);
    } else {
        dialog.Click(platform::kIdCancel);
    }
}

}  // namespace tools
