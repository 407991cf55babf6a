// The colour-profile library: device profiles chained into transforms and
// evaluated on pixel rows.
//
// The colour module binds the library's entry points by name, the way it
// would bind an outside library's exports; an entry the library does not
// offer binds as null. Every entry answers 0 for success and a nonzero
// status otherwise. This build's library is a layer over LittleCMS (ICC
// profiles, ICC device links for transform files); a build without
// LittleCMS has no library at all, and colour management is then
// unavailable.
//
// A transform is a chain of steps {profile, role, intent}; chains are
// combined step by step and compiled per pair of pixel layouts on first
// evaluation. A chain that ends on a proof step evaluates into a gamut mask:
// one channel, 255 where a pixel lies outside the proof device's gamut,
// else 0.
#ifndef PLATFORM_PROFILE_LIBRARY_H
#define PLATFORM_PROFILE_LIBRARY_H

#include <cstdint>
#include <string_view>

namespace platform {

// Statuses.
using SpStatus = std::int32_t;
inline constexpr SpStatus kSpOk = 0;
inline constexpr SpStatus kSpBadArgument = 1;
inline constexpr SpStatus kSpFailed = 2;         // the library could not do what was asked
inline constexpr SpStatus kSpNoMemory = 3;
inline constexpr SpStatus kSpUnsupported = 4;    // an entry this layer does not implement

// Opaque handles.
struct SpInstance;
struct SpProfile;
struct SpXform;

// Roles of a profile in a chain ("how").
inline constexpr std::int32_t kSpRoleSource = 1;
inline constexpr std::int32_t kSpRoleDestination = 2;
inline constexpr std::int32_t kSpRoleProof = 3;

// Rendering intents, passed as the option of SpXformGet.
inline constexpr std::int32_t kSpIntentPerceptual = 0;
inline constexpr std::int32_t kSpIntentRelativeColorimetric = 1;
inline constexpr std::int32_t kSpIntentSaturation = 2;
inline constexpr std::int32_t kSpIntentAbsoluteColorimetric = 3;

// Sample formats of a pixel layout.
inline constexpr std::int32_t kSpSample8 = 1;
inline constexpr std::int32_t kSpSample16 = 5;
inline constexpr int kSpMaxChannels = 10;

// A rectangle of pixels: `rows` rows of `width` pixels, `pixelStep` bytes
// from pixel to pixel and `rowStride` bytes from row to row, with one
// pointer to the first sample of each channel, in colour order (red, green,
// blue; L, a, b; C, M, Y, K), whatever their order in memory.
struct SpPixelLayout {
    std::int32_t sampleFormat;
    std::int32_t width;
    std::int32_t rows;
    std::int32_t pixelStep;
    std::int32_t rowStride;
    std::int32_t channels;
    void* channel[kSpMaxChannels];
};

// The initialisation record: its size in bytes and the caller's resource module.
struct SpInitRecord {
    std::int32_t size;
    const void* resourceModule;
};

// The entry points the colour module calls, with the library's own names.
using SpInitializeExFn = SpStatus (*)(SpInstance** instance, void* reserved1, void* reserved2,
                                      const SpInitRecord* record);
using SpTerminateFn = SpStatus (*)(SpInstance** instance);
using SpInitThreadFn = SpStatus (*)(SpInstance* instance, void* reserved1, void* reserved2);
using SpTermThreadFn = SpStatus (*)(SpInstance* instance);
using SpProfileLoadProfileFn = SpStatus (*)(SpInstance* instance, const char* path, std::int32_t flags,
                                            SpProfile** profile);
using SpProfileFreeFn = SpStatus (*)(SpProfile** profile);
using SpXformGetFn = SpStatus (*)(SpProfile* profile, std::int32_t intent, std::int32_t role, SpXform** xform);
using SpCombineXformsFn = SpStatus (*)(std::int32_t count, SpXform* const* xforms, SpXform** result,
                                       void* reserved1, void* reserved2);
using SpXformCreateFromDataFn = SpStatus (*)(std::int32_t size, const void* data, SpXform** xform);
using SpXformFreeFn = SpStatus (*)(SpXform** xform);
using SpEvaluateFn = SpStatus (*)(SpXform* xform, const SpPixelLayout* source,
                                  const SpPixelLayout* destination, void* progress, void* progressData);
// The shape every other entry is bound under; this layer answers kSpUnsupported.
using SpOtherFn = SpStatus (*)();

// An entry point as found by name; cast it to its type before calling.
using SpEntry = void (*)();

// What loading the library gives: its entry points by name.
class ProfileLibraryModule {
  public:
    virtual ~ProfileLibraryModule() = default;
    // The entry point of that name, or null when the library has none.
    virtual SpEntry FindEntry(std::string_view name) const = 0;
};

// This build's library, or null when the build has none.
const ProfileLibraryModule* BuiltInProfileLibrary();

// The library the colour module loads: the one set with
// SetProfileLibrary, else the built-in one (null when there is none).
const ProfileLibraryModule* LoadProfileLibrary();
// Replaces the library for tests (null goes back to the built-in one);
// answers the one it replaces. It must outlive its use.
const ProfileLibraryModule* SetProfileLibrary(const ProfileLibraryModule* library);

}  // namespace platform

#endif  // PLATFORM_PROFILE_LIBRARY_H
