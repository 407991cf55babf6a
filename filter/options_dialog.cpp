// Controls <-> options record.
#include "options_dialog.h"

#include <array>

#include "resource_ids.h"

namespace svgf::detail {
namespace {

constexpr std::array<uint32_t, 3> kBitmapStrings = {res::kStrBitmapJpeg, res::kStrBitmapGif,
                                                    res::kStrBitmapPng};

struct PrecisionEntry {
    uint32_t string;
    uint32_t precision;
};
constexpr std::array<PrecisionEntry, 6> kPrecisions = {{
    {res::kStrPrecision1000, 1000},
    {res::kStrPrecision2540, 2540},
    {res::kStrPrecision10000, 10000},
    {res::kStrPrecision25400, 25400},
    {res::kStrPrecision100000, 100000},
    {res::kStrPrecision254000, 254000},
}};

// The list texts are read back through buffers of these sizes.
constexpr int32_t kBitmapTextSize = 256;
constexpr int32_t kPrecisionTextSize = 128;

}  // namespace

int32_t ExportOptionsDialog::Handle(platform::Dialog& dialog, platform::DialogMessage message,
                                    int32_t controlId, platform::Notification) {
    switch (message) {
        case platform::DialogMessage::Init:
            Initialise(dialog);
            return 1;
        case platform::DialogMessage::Command:
            if (controlId == platform::kIdOk) {
                ReadBack(dialog);
                dialog.End(platform::kIdOk);
            } else if (controlId == platform::kIdCancel) {
                dialog.End(platform::kIdCancel);
            } else if (controlId == res::kEmbedFonts) {
                // Priority only means something for embedded fonts; its check stays as it was.
                dialog.SetEnabled(res::kEmbeddedFontsFirst, dialog.IsChecked(res::kEmbedFonts));
            }
            return 1;
        default:
            return 0;
    }
}

void ExportOptionsDialog::Initialise(platform::Dialog& dialog) {
    dialog.SetChecked(res::kAsText, record_.textAsText == 1);
    dialog.SetChecked(res::kAsCurves, record_.textAsText == 0);
    dialog.SetChecked(res::kEmbedFonts, record_.embedFonts != 0);
    dialog.SetChecked(res::kEmbeddedFontsFirst, record_.embeddedFontsFirst != 0);

    dialog.SetChecked(res::kCssInternal, false);
    dialog.SetChecked(res::kCssExternal, false);
    dialog.SetChecked(res::kCssStyleAttribute, false);
    if (record_.cssPlacement == kCssInternal) dialog.SetChecked(res::kCssInternal, true);
    if (record_.cssPlacement == kCssExternal) dialog.SetChecked(res::kCssExternal, true);
    if (record_.cssPlacement == kCssStyleAttribute) dialog.SetChecked(res::kCssStyleAttribute, true);

    char text[kBitmapTextSize];
    for (size_t type = 0; type < kBitmapStrings.size(); ++type) {
        platform::LoadString(strings_, kBitmapStrings[type], text, sizeof text);
        const int32_t index = dialog.AddItem(res::kBitmapType, text);
        if (record_.bitmapType == type) dialog.SetSelection(res::kBitmapType, index);
    }
    for (const PrecisionEntry& entry : kPrecisions) {
        platform::LoadString(strings_, entry.string, text, kPrecisionTextSize);
        const int32_t index = dialog.AddItem(res::kPrecision, text);
        if (record_.precision == entry.precision) dialog.SetSelection(res::kPrecision, index);
    }
}

int32_t ExportOptionsDialog::IndexOfString(const platform::Dialog& dialog, int32_t control, uint32_t id,
                                           int32_t bufferSize) const {
    char text[kBitmapTextSize];
    platform::LoadString(strings_, id, text, bufferSize);
    return dialog.FindItemExact(control, text);
}

void ExportOptionsDialog::ReadBack(const platform::Dialog& dialog) {
    record_.textAsText = dialog.IsChecked(res::kAsText) ? 1 : 0;
    record_.embedFonts = dialog.IsChecked(res::kEmbedFonts) ? 1 : 0;
    record_.embeddedFontsFirst = dialog.IsChecked(res::kEmbeddedFontsFirst) ? 1 : 0;
    record_.cssPlacement = dialog.IsChecked(res::kCssStyleAttribute) ? kCssStyleAttribute
                           : dialog.IsChecked(res::kCssExternal)     ? kCssExternal
                                                                     : kCssInternal;

    // The selection is matched against where each entry's text sits in the
    // list; no selection, or the first entry, means the first value.
    const int32_t bitmap = dialog.Selection(res::kBitmapType);
    record_.bitmapType = kBitmapJpeg;
    if (bitmap < 0) {
        // Nothing selected: never compare -1 with the -1 of a text not found.
    } else if (bitmap == IndexOfString(dialog, res::kBitmapType, res::kStrBitmapGif, kBitmapTextSize)) {
        record_.bitmapType = kBitmapGif;
    } else if (bitmap == IndexOfString(dialog, res::kBitmapType, res::kStrBitmapPng, kBitmapTextSize)) {
        record_.bitmapType = kBitmapPng;
    }

    const int32_t precision = dialog.Selection(res::kPrecision);
    record_.precision = kPrecisions[0].precision;
    for (size_t i = 1; precision >= 0 && i < kPrecisions.size(); ++i) {
        if (precision == IndexOfString(dialog, res::kPrecision, kPrecisions[i].string, kPrecisionTextSize)) {
            record_.precision = kPrecisions[i].precision;
            break;
        }
    }
}

}  // namespace svgf::detail
