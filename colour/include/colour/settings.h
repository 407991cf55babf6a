// The colour module's settings: whether colour management runs and how
// single colours and rows are treated. Nothing in the module turns them on;
// a host or a test sets them. All start off except the warning, which is on
// until the one warning box has been shown.
#pragma once

#include <cstdint>

namespace colour {

struct ClrSettings {
    std::int32_t colourManagement = 0;       // any colour-managed path at all
    std::int32_t hexachromeHighQuality = 0;  // the high-quality Hexachrome transform file
    std::int32_t composite = 0;              // 1: without a kinds table, the second kind of a pair
    std::int32_t printerProof = 0;           // the printer profile as a proof step
    std::int32_t plainGrey = 0;              // grey and CMYK by the plain formulas in single colours
    std::int32_t spotTint8 = 0;              // spot kind 8 printed as a tint of its process equivalent
    std::int32_t spotTint10 = 0;             // the same for spot kind 10
    std::int32_t spotTint11 = 0;             // and for spot kind 11
    std::int32_t cmykInks = 0;               // catalogue inks by their CMYK definition for any target
    std::int32_t warnings = 1;               // the colour-management warning box may still be shown
    std::int32_t monitor = 0;                // conversions to the monitor through the monitor kinds
    std::int32_t displayProof = 0;           // CMYK rows shown through the printer-proof kinds
    std::int32_t gamutWarning = 0;           // the gamut-warning overlay on proofed rows
    std::uint8_t gamutColour[3] = {};        // blue, green, red of the overlay
    std::uint8_t gamutBlend = 0;             // how far the overlay follows the pixel's brightness
    std::int32_t proofOnMonitor = 0;         // proofing applies to rows shown on the monitor
    std::int32_t simulatePrinter = 0;        // output conversions simulate the printer
};

// The settings in force, module-wide. Read without a lock: a host sets them
// before it converts.
ClrSettings& ClrGetSettings();

// Whether colour management is on (the setting alone; the library may still
// be unusable, and then the managed path fails and the plain formulas run).
inline bool ClrColourManagementOn() {
    return ClrGetSettings().colourManagement != 0;
}

}  // namespace colour
