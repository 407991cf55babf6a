// What the colour-management files share: the bound library, the use
// bracket (initialise, lock, per-thread set-up), the kinds' transforms and
// lookup tables, and the pixel layouts handed to the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/profile_library.h"

namespace colour::detail {

// The entry points the module calls; a missing one is null.
struct CmsEntries {
    platform::SpInitializeExFn initializeEx = nullptr;
    platform::SpTerminateFn terminate = nullptr;
    platform::SpInitThreadFn initThread = nullptr;
    platform::SpTermThreadFn termThread = nullptr;
    platform::SpEvaluateFn evaluate = nullptr;
    platform::SpProfileLoadProfileFn loadProfile = nullptr;
    platform::SpXformGetFn xformGet = nullptr;
    platform::SpProfileFreeFn profileFree = nullptr;
    platform::SpCombineXformsFn combineXforms = nullptr;
    platform::SpXformCreateFromDataFn xformCreateFromData = nullptr;
    platform::SpXformFreeFn xformFree = nullptr;
};

// Whether the library has an instance (without initialising it).
bool CmsInstanceExists();

// The entries as bound (all null before the library is loaded).
const CmsEntries& BoundEntries();

// The lock around every evaluation and transform build; it may be entered
// again by the thread that holds it.
std::recursive_mutex& CmsLock();

// One use of the library: initialises it when needed, holds the lock and,
// on a thread other than the initialising one, the library's thread
// bracket. Usable() is false when the library is not.
class CmsUse {
  public:
    CmsUse();
    ~CmsUse();
    CmsUse(const CmsUse&) = delete;
    CmsUse& operator=(const CmsUse&) = delete;

    bool Usable() const { return usable_; }
    const CmsEntries& Entries() const;
    platform::SpInstance* Instance() const;

  private:
    std::unique_lock<std::recursive_mutex> lock_;
    bool usable_ = false;
    bool bracketed_ = false;
};

// Ends the library's instance and forgets its binding (the transforms
// must be freed first).
void ForgetCmsLibrary();

// Evaluates a transform on two layouts within one use; true when it succeeded.
bool EvaluateXform(platform::SpXform* xform, const platform::SpPixelLayout& source,
                   const platform::SpPixelLayout& destination);

// The kind's transform, or null while it is not built.
platform::SpXform* KindTransform(int kind);

// The kind's lookup table (RGB or CMYK by kind), or null; set once.
const std::uint8_t* KindLookupTable(int kind);
void SetKindLookupTable(int kind, std::unique_ptr<std::uint8_t[]> table);

// RGB rows to six-channel Hexachrome rows through the transform file.
bool HexachromeRows(const std::uint8_t* src, std::ptrdiff_t srcStride, std::uint8_t* dst,
                    std::ptrdiff_t dstStride, int width, int rows);

// Layout codes of the evaluations.
enum EvalLayout {
    kEvalRGB = 0,
    kEvalLab = 1,
    kEvalCMYK = 3,
    kEvalRGB48 = 4,
    kEvalHexachrome = 6,
    kEvalMask = 7,
};

// The pixel layout of rows that start at `base`: the channel pointers in
// colour order, the sample format and the steps of the layout.
platform::SpPixelLayout MakePixelLayout(EvalLayout layout, const std::uint8_t* base, int width, int rows,
                                        std::ptrdiff_t stride);

}  // namespace colour::detail
