// The seam where colour management enters the row conversions.
//
// The row conversions pick a conversion kind the way the colour-managed path
// names them and hand the rows to the ManagedRowPath in force (colour
// management's own unless another is installed); when colour management is
// off, or the path answers false, they convert by
// their plain formulas. A path answers false without writing the destination.
#pragma once

#include <cstddef>
#include <cstdint>

#include "colour/kinds_table.h"

namespace colour {

// Pixel layouts of the rows handed to a managed path.
enum class RowLayout {
    kRGB,         // 3 bytes: blue, green, red
    kLab,         // 3 bytes: L, a + 128, b + 128
    kRGB48,       // 6 bytes: blue, green, red, 16 bits each, low byte first
    kCMYK,        // 4 bytes: C, M, Y, K
    kHexachrome,  // 6 bytes
};

// A rectangle of rows: `rows` rows of `width` pixels, each row a stride of
// bytes from the next.
struct RowBlock {
    std::uint8_t* destination;
    std::ptrdiff_t destinationStride;
    const std::uint8_t* source;
    std::ptrdiff_t sourceStride;
    int width;
    int rows;
};

class ManagedRowPath {
  public:
    virtual ~ManagedRowPath() = default;
    // Converts the rows through conversion kind `kind`. With a kinds table,
    // its word for the kind says whether the transform or the kind's lookup
    // table is used (the caller has already sent word 0 to the plain formula).
    virtual bool EvaluateKind(const ClrKindsTable* kinds, int kind, RowLayout from, RowLayout to,
                              const RowBlock& rows, bool gamutWarning) = 0;
    // RGB rows to six-channel Hexachrome rows; there is no plain formula.
    virtual bool RGBToHexachrome(const ClrKindsTable* kinds, const RowBlock& rows) = 0;
    // CMYK rows that reach printer RGB shown on the monitor as the printer
    // renders them (mode 0 or 1, source layout 0 RGB, 1 Lab, 2 48-bit RGB).
    virtual bool DisplayRowsWithProof(const ClrKindsTable* kinds, int mode, int sourceLayout,
                                      const RowBlock& rows, int proof) = 0;
    // Lab rows through the host's candidate profile into RGB (mode 3 of the
    // Lab-to-RGB rows); there is no plain formula.
    virtual bool LabRowsThroughHostProfile(const ClrKindsTable* kinds, const RowBlock& rows) = 0;
};

// Installs a managed path (null goes back to colour management's own) and
// answers the one it replaces. It must outlive its use.
ManagedRowPath* ClrSetManagedRowPath(ManagedRowPath* path);

// The path in force when colour management is on, else null.
ManagedRowPath* ClrActiveManagedRowPath();

}  // namespace colour
