// The module's string table.
#include "module_resources.h"
#include "resource_ids.h"

namespace svgf::detail {
namespace {

constexpr platform::StringResource kStrings[] = {
    {res::kStrExportName, "SVG Export"},       {res::kStrBitmapJpeg, "JPG - JPEG Bitmaps"},
    {res::kStrBitmapGif, "GIF - GIF Bitmaps"}, {res::kStrBitmapPng, "PNG - PNG Bitmaps"},
    {res::kStrPrecision1000, "1 : 1000"},      {res::kStrPrecision2540, "1 : 2540"},
    {res::kStrPrecision10000, "1 : 10000"},    {res::kStrPrecision25400, "1 : 25400"},
    {res::kStrPrecision100000, "1 : 100000"},  {res::kStrPrecision254000, "1 : 254000"},
};

}  // namespace

const std::span<const platform::StringResource> kStringTable{kStrings};

}  // namespace svgf::detail
