// Colour management through the profile library: the library's loading and
// initialisation, one transform per conversion kind built from the device
// profiles of the colour directory, the one warning when a kind cannot be
// built, and RGB rows to six-channel Hexachrome.
//
// Every evaluation and every transform build runs under one module lock,
// and a thread other than the one that initialised the library brackets
// each use with the library's per-thread set-up and tear-down. The library
// is loaded on the first colour-managed use; a failure makes it unavailable
// for the rest of the run, and conversions then take their plain formulas.
#pragma once

#include <cstdint>

#include "colour/kinds_table.h"
#include "colour/settings.h"

namespace colour {

// Device profiles and transform files in the colour directory.
inline constexpr const char* kProfileScanner = "Scanner.cc";
inline constexpr const char* kProfileMonitor = "Monitor.cc";
inline constexpr const char* kProfilePrinterRGB = "PrnRGB.cc";
inline constexpr const char* kProfilePrinterCMYK = "PrnCMYK.cc";
inline constexpr const char* kProfileWorkingSpace = "ThMon.CC";
inline constexpr const char* kProfileLab = "Lab.CC";
inline constexpr const char* kProfileHostCandidate = "HostCand.CC";
inline constexpr const char* kHexachromeHighQuality = "CRGB2HxH.PT";
inline constexpr const char* kHexachromeNormal = "CRGB2HxN.PT";

// Replaces the module's settings; answers the ones they replace.
ClrSettings ClrSetSettings(const ClrSettings& settings);

// Binds the profile library's entry points: nonzero when it is there.
int ClrLoadCmsLibrary();
// 1 when the library is usable; loads and initialises it on first use.
int ClrInitCms();
// Nonzero when the kind's transform exists; builds it when missing. Needs
// colour management on and a readable system colour profile.
int ClrBuildXform(int kind);
// Nonzero when the kind's transform was built. The first time a kind is
// asked for with colour management on, its transform is built; the first
// kind that cannot be built shows the one colour-management warning.
int ClrWarnOnce(int kind);

// Packed RGB rows ((3·width + 3) & ~3 bytes) to packed six-channel rows
// (6·width bytes) through the Hexachrome transform file; 0 without colour
// management or without the file.
int ClrRGBToHexachrome(const ClrKindsTable* kinds, std::uint8_t* dst, const std::uint8_t* src, int width,
                       int rows);

// Forgets the library, every transform and lookup table and what was
// warned, for a test or after the host changed its installation. The
// settings stay.
void ClrForgetColourManagement();

}  // namespace colour
