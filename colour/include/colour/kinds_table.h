// Conversion kinds and the kinds table a caller may pass to the row
// conversions to choose, kind by kind, between the plain formula, the
// kind's transform and its lookup table.
#pragma once

#include <cstdint>

namespace colour {

// Conversion kinds 0..45 name device-to-device transforms; the table's
// word 46 is working-space proof and word 47 the composite choice.
inline constexpr int kConversionKindCount = 46;
inline constexpr int kKindsWorkingSpaceProof = 46;
inline constexpr int kKindsComposite = 47;

// What a table word says of its kind.
enum KindTreatment : std::uint32_t {
    kKindPlain = 0,
    kKindEvaluate = 1,
    kKindLookupTable = 2,
};

struct ClrKindsTable {
    std::uint32_t words[48] = {};
};
static_assert(sizeof(ClrKindsTable) == 192, "one 32-bit word per kind and two choices");

// 0 or 1: which kind of a pair applies. The composite setting overrides the
// table (2 gives 1, 1 gives 0); otherwise word 47, or 1 without a table.
int ClrKindsComposite(const ClrKindsTable* kinds);

// Sets word 47 (the composite setting, when nonzero, decides what is stored)
// and refreshes the module's composite flag; answers the previous word, or 0
// without a table.
std::uint32_t ClrSetKindsComposite(ClrKindsTable* kinds, std::uint32_t value);

// The flag the row conversions consult for a pair when they have no table.
int ClrModuleCompositeFlag();

}  // namespace colour
