// Ids of the module's resources: the export options dialog, its controls and
// the strings that fill its lists.
#ifndef SVGFILTER_RESOURCE_IDS_H
#define SVGFILTER_RESOURCE_IDS_H

#include <cstdint>

namespace svgf::res {

inline constexpr int32_t kOptionsDialog = 27799;

inline constexpr uint32_t kStrExportName = 27800;
inline constexpr uint32_t kStrBitmapJpeg = 27802;
inline constexpr uint32_t kStrBitmapGif = 27803;
inline constexpr uint32_t kStrBitmapPng = 27804;
inline constexpr uint32_t kStrPrecision1000 = 27805;
inline constexpr uint32_t kStrPrecision2540 = 27806;
inline constexpr uint32_t kStrPrecision10000 = 27807;
inline constexpr uint32_t kStrPrecision25400 = 27808;
inline constexpr uint32_t kStrPrecision100000 = 27809;
inline constexpr uint32_t kStrPrecision254000 = 27810;

// Controls of the options dialog.
inline constexpr int32_t kAsText = 1000;
inline constexpr int32_t kAsCurves = 1001;
inline constexpr int32_t kFontsGroup = 1023;
inline constexpr int32_t kEmbedFonts = 1024;
inline constexpr int32_t kEmbeddedFontsFirst = 1025;
inline constexpr int32_t kBitmapLabel = 1029;
inline constexpr int32_t kBitmapType = 1028;
inline constexpr int32_t kPrecisionLabel = 1031;
inline constexpr int32_t kPrecision = 1030;
inline constexpr int32_t kPrecisionUnitLabel = 1032;
inline constexpr int32_t kCssGroup = 1019;
inline constexpr int32_t kCssInternal = 1033;
inline constexpr int32_t kCssStyleAttribute = 1034;
inline constexpr int32_t kCssExternal = 1035;

}  // namespace svgf::res

#endif  // SVGFILTER_RESOURCE_IDS_H
