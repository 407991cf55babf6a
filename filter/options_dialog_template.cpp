// Dialog 27799, the export options: controls, texts and layout in dialog units.
#include "module_resources.h"
#include "resource_ids.h"

namespace svgf::detail {
namespace {

using platform::ControlKind;
using platform::kNoControlId;
using platform::kStyleAuto;
using platform::kStyleDefaultButton;
using platform::kStyleDisabled;
using platform::kStyleDropDown;
using platform::kStyleGroupStart;
using platform::kStyleVerticalScroll;

constexpr uint32_t kAutoRadio = kStyleAuto;
constexpr uint32_t kAutoCheck = kStyleAuto;
constexpr uint32_t kDropDownCombo = kStyleDropDown | kStyleVerticalScroll;

constexpr platform::ControlTemplate kControls[] = {
    {kNoControlId, ControlKind::GroupBox, 0, "Export Text", {7, 7, 94, 38}},
    {res::kAsText, ControlKind::RadioButton, kAutoRadio | kStyleGroupStart, "As Text", {14, 17, 40, 10}},
    {res::kAsCurves, ControlKind::RadioButton, kAutoRadio, "As Curves", {14, 31, 48, 10}},
    {res::kFontsGroup, ControlKind::GroupBox, 0, "Fonts", {113, 7, 165, 39}},
    {res::kEmbedFonts,
     ControlKind::CheckBox,
     kAutoCheck | kStyleGroupStart,
     "Embed Font in File",
     {136, 17, 74, 10}},
    {res::kEmbeddedFontsFirst,
     ControlKind::CheckBox,
     kAutoCheck | kStyleDisabled,
     "Give Embedded Font Priority",
     {136, 31, 105, 10}},
    {res::kBitmapLabel, ControlKind::Label, 0, "Bitmap Export Type:", {12, 60, 64, 8}},
    {res::kBitmapType, ControlKind::ComboBox, kDropDownCombo | kStyleGroupStart, "", {85, 57, 128, 63}},
    {res::kPrecisionLabel, ControlKind::Label, 0, "Drawing Precision:", {16, 78, 60, 8}},
    {res::kPrecision, ControlKind::ComboBox, kDropDownCombo, "", {85, 76, 128, 88}},
    {res::kPrecisionUnitLabel, ControlKind::Label, 0, "Inch : User Units", {219, 78, 54, 8}},
    {res::kCssGroup, ControlKind::GroupBox, 0, "CSS options", {7, 96, 271, 65}},
    {res::kCssInternal,
     ControlKind::RadioButton,
     kAutoRadio | kStyleGroupStart,
     "CSS data embedded in internal style sheet",
     {14, 110, 149, 10}},
    {res::kCssStyleAttribute,
     ControlKind::RadioButton,
     kAutoRadio,
     "CSS data embedded in the style attribute",
     {14, 126, 144, 10}},
    {res::kCssExternal, ControlKind::RadioButton, kAutoRadio, "External CSS file", {14, 140, 68, 10}},
    {platform::kIdOk,
     ControlKind::PushButton,
     kStyleDefaultButton | kStyleGroupStart,
     "OK",
     {167, 169, 50, 14}},
    {platform::kIdCancel, ControlKind::PushButton, 0, "Cancel", {228, 169, 50, 14}},
};

}  // namespace

const platform::DialogTemplate kOptionsDialogTemplate{
    res::kOptionsDialog,
    "SVG Export Options",
    {0, 0, 285, 190},
    "MS Sans Serif",
    8,
    platform::kDialogPopup | platform::kDialogCaption | platform::kDialogModalFrame |
        platform::kDialogCentred | platform::kDialogForeground,
    kControls,
};

}  // namespace svgf::detail
