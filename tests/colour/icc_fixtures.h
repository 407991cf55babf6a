// ICC profiles and device links the colour-management tests make at test
// time with LittleCMS (no binary profile is kept in the sources). In a build
// without LittleCMS none can be made, and the tests that need them skip.
#pragma once

#include <string>

namespace colour::testing {

// Whether this build can make profiles.
bool IccAvailable();

// Each writes one profile file and answers whether it could.
bool WriteSRGBProfile(const std::string& path);
// An RGB display with sRGB's primaries and a plain gamma of 1.8.
bool WriteGammaRGBProfile(const std::string& path);
// The CIE Lab identity (an abstract profile, Lab in and out).
bool WriteLabProfile(const std::string& path);
// A CMYK printer sampled from a formula: its inks reach only the middle of
// sRGB's range (every channel between 40 and 215), so sRGB's primaries lie
// outside its gamut and mid greys inside.
bool WriteCMYKPrinterProfile(const std::string& path);
// A device link from RGB to six channels: 255 - R, 255 - G, 255 - B, 0,
// R / 2 and G / 2.
bool WriteHexachromeLink(const std::string& path);

}  // namespace colour::testing
