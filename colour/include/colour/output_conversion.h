// Single colours converted for an output device: to a plain model or to one
// of the device spaces (printer RGB, monitor RGB, printer CMYK with and
// without proofing, RGB through the host's candidate profile). Every step
// that touches CMYK, Lab, the printer or the monitor goes through the row
// conversions with a kinds table, so single colours follow the same
// per-kind choices as images.
#pragma once

#include <cstdint>

#include "colour/color_record.h"
#include "colour/kinds_table.h"

namespace colour {

// Output codes, accepted wherever a target model is.
inline constexpr int kOutputPrinterRGB = 1005;
inline constexpr int kOutputMonitorRGB = 1006;
inline constexpr int kOutputPrinterCMYKProofed = 1007;
inline constexpr int kOutputPrinterCMYK = 1008;
inline constexpr int kOutputHostCandidate = 1009;

// What a caller supplies; only these fields are read.
struct ClrOutputContext {
    std::uint32_t display[4] = {};     // all nonzero: the monitor shows plain RGB
    ClrKindsTable* kinds = nullptr;    // the context's kinds table
    std::uint32_t alternate = 0;       // printer outputs take the alternate default table
};

// The module's default kinds tables (absent until set); each setter
// answers the table it replaces.
ClrKindsTable* ClrSetDefaultKindsTable(ClrKindsTable* table);
ClrKindsTable* ClrSetAlternateKindsTable(ClrKindsTable* table);

// 1 when converted, 0 when not.
int ClrConvertColorForOutput(const ClrOutputContext* context, ColorRecord* out, int target, const ColorRecord* in);
int ClrConvertColorInContext(ColorRecord* out, const ClrKindsTable* kinds, int target, const ColorRecord* in);
int ClrResolveColorInContext(ColorRecord* out, const ClrKindsTable* kinds, int target, const ColorRecord* in);
// 1 when the record is a reference or a tint that must be resolved first.
int ClrNeedsResolving(const ColorRecord* in);

}  // namespace colour
