// The profile library over LittleCMS 2: ICC profiles behind the profile
// handles, ICC device links behind transforms made from data, and chains of
// {profile, role, intent} compiled into LittleCMS transforms per pair of
// pixel layouts on first evaluation (LittleCMS binds the pixel formats when
// it builds a transform; callers pass them with every evaluation).
#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/profile_library.h"

struct platform::SpInstance {
    int live = 1;
};

namespace platform {
namespace {

// A profile shared by the handle it was loaded under and the transforms
// made from it; LittleCMS closes it with the last of them.
struct OpenProfile {
    explicit OpenProfile(cmsHPROFILE h) : handle(h) {}
    ~OpenProfile() { cmsCloseProfile(handle); }
    OpenProfile(const OpenProfile&) = delete;
    OpenProfile& operator=(const OpenProfile&) = delete;
    cmsHPROFILE handle;
};
using ProfileRef = std::shared_ptr<OpenProfile>;

struct Step {
    ProfileRef profile;
    std::int32_t role;
    std::int32_t intent;
};

// Chains longer than this are refused: LittleCMS takes at most 255 profiles,
// and a proof step may count twice.
constexpr std::size_t kMaxSteps = 64;

// Where a chain starts and ends, and the profile list LittleCMS is given.
struct ResolvedChain {
    std::vector<cmsHPROFILE> profiles;
    std::vector<cmsUInt32Number> intents;
    cmsColorSpaceSignature input{};
    cmsColorSpaceSignature output{};
    bool endsOnProof = false;
    // For a chain that ends on a proof step: how many profiles come before
    // the trailing proof steps (the direct path of the gamut check).
    std::size_t directCount = 0;
};

bool IsPCS(cmsColorSpaceSignature s) {
    return s == cmsSigLabData || s == cmsSigXYZData;
}

// A profile's colour spaces are read from its file: any value may stand
// there, and one LittleCMS does not know is refused before it is used.
// The value is looked at as a number: held in the enumeration, an unknown
// one is already undefined.
bool KnownSpace(cmsUInt32Number s) {
    static constexpr cmsColorSpaceSignature kKnown[] = {
        cmsSigXYZData,   cmsSigLabData,   cmsSigLuvData,   cmsSigYCbCrData, cmsSigYxyData,   cmsSigRgbData,
        cmsSigGrayData,  cmsSigHsvData,   cmsSigHlsData,   cmsSigCmykData,  cmsSigCmyData,   cmsSigMCH1Data,
        cmsSigMCH2Data,  cmsSigMCH3Data,  cmsSigMCH4Data,  cmsSigMCH5Data,  cmsSigMCH6Data,  cmsSigMCH7Data,
        cmsSigMCH8Data,  cmsSigMCH9Data,  cmsSigMCHAData,  cmsSigMCHBData,  cmsSigMCHCData,  cmsSigMCHDData,
        cmsSigMCHEData,  cmsSigMCHFData,  cmsSig1colorData, cmsSig2colorData, cmsSig3colorData, cmsSig4colorData,
        cmsSig5colorData, cmsSig6colorData, cmsSig7colorData, cmsSig8colorData, cmsSig9colorData,
        cmsSig10colorData, cmsSig11colorData, cmsSig12colorData, cmsSig13colorData, cmsSig14colorData,
        cmsSig15colorData,
    };
    for (cmsColorSpaceSignature k : kKnown) {
        if (s == static_cast<cmsUInt32Number>(k)) return _cmsLCMScolorSpace(k) > 0;
    }
    return false;
}

static_assert(sizeof(cmsColorSpaceSignature) == sizeof(cmsUInt32Number));

bool KnownSpaces(cmsHPROFILE p) {
    cmsUInt32Number space = 0, pcs = 0;
    const cmsColorSpaceSignature rawSpace = cmsGetColorSpace(p);
    const cmsColorSpaceSignature rawPcs = cmsGetPCS(p);
    std::memcpy(&space, &rawSpace, sizeof space);
    std::memcpy(&pcs, &rawPcs, sizeof pcs);
    return KnownSpace(space) && KnownSpace(pcs);
}

bool IsLink(cmsHPROFILE p) {
    const cmsProfileClassSignature c = cmsGetDeviceClass(p);
    return c == cmsSigLinkClass || c == cmsSigAbstractClass;
}

// Lays the chain out the way LittleCMS walks a profile list: a device
// profile reached in the connection space is used towards its device and,
// when the chain goes on from it as a source or proof, back again.
std::optional<ResolvedChain> Resolve(const std::vector<Step>& steps) {
    ResolvedChain chain;
    std::optional<cmsColorSpaceSignature> current;
    std::size_t trailingProofStart = 0;
    bool lastWasProof = false;
    for (const Step& step : steps) {
        cmsHPROFILE p = step.profile->handle;
        const auto add = [&](cmsUInt32Number intent) {
            chain.profiles.push_back(p);
            chain.intents.push_back(intent);
        };
        const auto intent = static_cast<cmsUInt32Number>(step.intent);
        if (!lastWasProof || step.role != kSpRoleProof) trailingProofStart = chain.profiles.size();
        if (IsLink(p)) {
            const cmsColorSpaceSignature in = cmsGetColorSpace(p);
            if (!current) {
                chain.input = in;
            } else if (*current != in && !(IsPCS(*current) && IsPCS(in))) {
                return std::nullopt;
            }
            add(intent);
            current = cmsGetPCS(p);
        } else {
            const cmsColorSpaceSignature device = cmsGetColorSpace(p);
            if (!current) {
                if (step.role == kSpRoleDestination) return std::nullopt;
                chain.input = device;
                add(intent);
                current = cmsGetPCS(p);
            } else if (IsPCS(*current)) {
                add(intent);  // towards the device
                if (step.role == kSpRoleDestination) {
                    current = device;
                } else {
                    add(intent);  // and back
                    current = cmsGetPCS(p);
                }
            } else if (*current == device && step.role != kSpRoleDestination) {
                add(intent);
                current = cmsGetPCS(p);
            } else {
                return std::nullopt;
            }
        }
        lastWasProof = step.role == kSpRoleProof;
    }
    if (!current || chain.profiles.empty() || chain.profiles.size() > 255) return std::nullopt;
    chain.output = *current;
    chain.endsOnProof = lastWasProof && !IsLink(steps.back().profile->handle);
    chain.directCount = trailingProofStart;
    return chain;
}

// A pixel layout as LittleCMS sees it: a packed format over the layout's
// first sample, or a packed copy of the samples when the channels cannot be
// described so.
struct MappedLayout {
    cmsUInt32Number format = 0;
    std::uint8_t* base = nullptr;
    bool gathered = false;
};

int SampleBytes(const SpPixelLayout& l) {
    return l.sampleFormat == kSpSample16 ? 2 : 1;
}

bool ValidLayout(const SpPixelLayout* l) {
    if (l == nullptr) return false;
    if (l->sampleFormat != kSpSample8 && l->sampleFormat != kSpSample16) return false;
    if (l->width < 0 || l->rows < 0 || l->channels < 1 || l->channels > kSpMaxChannels) return false;
    if (l->pixelStep < SampleBytes(*l)) return false;
    for (int i = 0; i < l->channels; ++i) {
        if (l->channel[i] == nullptr) return false;
    }
    return true;
}

MappedLayout MapLayout(const SpPixelLayout& l, cmsColorSpaceSignature space) {
    const int bytes = SampleBytes(l);
    const int n = l.channels;
    auto* const first = static_cast<std::uint8_t*>(l.channel[0]);
    std::uint8_t* base = first;
    for (int i = 1; i < n; ++i) base = std::min(base, static_cast<std::uint8_t*>(l.channel[i]));
    bool forward = true, backward = true;
    for (int i = 0; i < n; ++i) {
        const std::ptrdiff_t at = static_cast<std::uint8_t*>(l.channel[i]) - base;
        forward = forward && at == static_cast<std::ptrdiff_t>(i) * bytes;
        backward = backward && at == static_cast<std::ptrdiff_t>(n - 1 - i) * bytes;
    }
    MappedLayout m;
    const cmsUInt32Number common = COLORSPACE_SH(static_cast<cmsUInt32Number>(_cmsLCMScolorSpace(space))) |
                                   CHANNELS_SH(static_cast<cmsUInt32Number>(n)) |
                                   BYTES_SH(static_cast<cmsUInt32Number>(bytes));
    if (l.pixelStep == n * bytes && (forward || backward)) {
        // One channel is both orders; it needs no swap.
        m.format = common | DOSWAP_SH(forward ? 0u : 1u);
        m.base = base;
    } else {
        m.format = common;
        m.gathered = true;
    }
    return m;
}

// Copies a row of samples between a layout and a packed buffer in colour order.
void Gather(const SpPixelLayout& l, int row, std::uint8_t* packed) {
    const int bytes = SampleBytes(l);
    for (int x = 0; x < l.width; ++x) {
        for (int c = 0; c < l.channels; ++c) {
            const auto* s = static_cast<const std::uint8_t*>(l.channel[c]) +
                            static_cast<std::ptrdiff_t>(row) * l.rowStride +
                            static_cast<std::ptrdiff_t>(x) * l.pixelStep;
            std::memcpy(packed + (static_cast<std::ptrdiff_t>(x) * l.channels + c) * bytes, s, bytes);
        }
    }
}

void Scatter(const SpPixelLayout& l, int row, const std::uint8_t* packed) {
    const int bytes = SampleBytes(l);
    for (int x = 0; x < l.width; ++x) {
        for (int c = 0; c < l.channels; ++c) {
            auto* d = static_cast<std::uint8_t*>(l.channel[c]) + static_cast<std::ptrdiff_t>(row) * l.rowStride +
                      static_cast<std::ptrdiff_t>(x) * l.pixelStep;
            std::memcpy(d, packed + (static_cast<std::ptrdiff_t>(x) * l.channels + c) * bytes, bytes);
        }
    }
}

struct HandleCloser {
    void operator()(void* t) const { cmsDeleteTransform(t); }
};
using TransformRef = std::unique_ptr<void, HandleCloser>;

// What one pair of formats compiles to: a transform, or for a gamut check
// the direct and the round-trip path into Lab.
struct Compiled {
    TransformRef transform;
    TransformRef direct;
    TransformRef toDevice;
    TransformRef back;
    cmsUInt32Number deviceFormat = 0;
    cmsUInt32Number deviceChannels = 0;
};

// The CIE Lab profile the gamut check measures in; made once.
cmsHPROFILE LabProfile() {
    static cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    return lab;
}

// Colours further apart than this after the trip through the proof device
// count as outside its gamut (CIE 1976 colour difference).
constexpr double kGamutThreshold = 5.0;

cmsHTRANSFORM MakeTransform(const std::vector<cmsHPROFILE>& profiles, const std::vector<cmsUInt32Number>& intents,
                            cmsUInt32Number in, cmsUInt32Number out) {
    const std::size_t n = profiles.size();
    std::vector<cmsBool> bpc(n, FALSE);
    std::vector<cmsFloat64Number> adaptation(n, 1.0);
    auto list = profiles;
    auto intentList = intents;
    return cmsCreateExtendedTransform(nullptr, static_cast<cmsUInt32Number>(n), list.data(), bpc.data(),
                                      intentList.data(), adaptation.data(), nullptr, 0, in, out,
                                      cmsFLAGS_NOCACHE);
}

}  // namespace
}  // namespace platform

struct platform::SpXform {
    std::vector<Step> steps;
    std::mutex mutex;
    std::map<std::pair<cmsUInt32Number, cmsUInt32Number>, Compiled> compiled;
};

struct platform::SpProfile {
    ProfileRef profile;
};

namespace platform {
namespace {

void QuietErrors(cmsContext, cmsUInt32Number, const char*) {}

void SilenceOnce() {
    static std::once_flag once;
    std::call_once(once, [] { cmsSetLogErrorHandler(QuietErrors); });
}

SpStatus InitializeEx(SpInstance** instance, void*, void*, const SpInitRecord* record) {
    if (instance == nullptr) return kSpBadArgument;
    *instance = nullptr;
    if (record == nullptr || record->size < 8) return kSpBadArgument;
    SilenceOnce();
    *instance = new (std::nothrow) SpInstance;
    return *instance ? kSpOk : kSpNoMemory;
}

SpStatus Terminate(SpInstance** instance) {
    if (instance == nullptr || *instance == nullptr) return kSpBadArgument;
    delete *instance;
    *instance = nullptr;
    return kSpOk;
}

// LittleCMS needs nothing per thread; the bracket only checks its instance.
SpStatus InitThread(SpInstance* instance, void*, void*) {
    return instance ? kSpOk : kSpBadArgument;
}

SpStatus TermThread(SpInstance* instance) {
    return instance ? kSpOk : kSpBadArgument;
}

SpStatus LoadProfile(SpInstance* instance, const char* path, std::int32_t, SpProfile** profile) {
    if (profile == nullptr) return kSpBadArgument;
    *profile = nullptr;
    if (instance == nullptr || path == nullptr) return kSpBadArgument;
    std::ifstream in(path, std::ios::binary);
    if (!in) return kSpFailed;
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    if (bytes.empty()) return kSpFailed;
    cmsHPROFILE h = cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size()));
    if (h == nullptr) return kSpFailed;
    if (!KnownSpaces(h)) {
        cmsCloseProfile(h);
        return kSpFailed;
    }
    auto* made = new (std::nothrow) SpProfile{std::make_shared<OpenProfile>(h)};
    if (made == nullptr) return kSpNoMemory;
    *profile = made;
    return kSpOk;
}

SpStatus FreeProfile(SpProfile** profile) {
    if (profile == nullptr || *profile == nullptr) return kSpBadArgument;
    delete *profile;
    *profile = nullptr;
    return kSpOk;
}

bool ValidIntent(std::int32_t intent) {
    return intent >= kSpIntentPerceptual && intent <= kSpIntentAbsoluteColorimetric;
}

SpStatus XformGet(SpProfile* profile, std::int32_t intent, std::int32_t role, SpXform** xform) {
    if (xform == nullptr) return kSpBadArgument;
    *xform = nullptr;
    if (profile == nullptr || !ValidIntent(intent) || role < kSpRoleSource || role > kSpRoleProof)
        return kSpBadArgument;
    auto* made = new (std::nothrow) SpXform;
    if (made == nullptr) return kSpNoMemory;
    made->steps.push_back(Step{profile->profile, role, intent});
    *xform = made;
    return kSpOk;
}

SpStatus CombineXforms(std::int32_t count, SpXform* const* xforms, SpXform** result, void*, void*) {
    if (result == nullptr) return kSpBadArgument;
    *result = nullptr;
    if (count < 1 || xforms == nullptr) return kSpBadArgument;
    std::vector<Step> steps;
    for (std::int32_t i = 0; i < count; ++i) {
        if (xforms[i] == nullptr) return kSpBadArgument;
        if (steps.size() + xforms[i]->steps.size() > kMaxSteps) return kSpFailed;
        steps.insert(steps.end(), xforms[i]->steps.begin(), xforms[i]->steps.end());
    }
    auto* made = new (std::nothrow) SpXform;
    if (made == nullptr) return kSpNoMemory;
    made->steps = std::move(steps);
    *result = made;
    return kSpOk;
}

// A transform file is an ICC device link (or an abstract profile).
SpStatus XformCreateFromData(std::int32_t size, const void* data, SpXform** xform) {
    if (xform == nullptr) return kSpBadArgument;
    *xform = nullptr;
    if (size <= 0 || data == nullptr) return kSpBadArgument;
    SilenceOnce();
    cmsHPROFILE h = cmsOpenProfileFromMem(data, static_cast<cmsUInt32Number>(size));
    if (h == nullptr) return kSpFailed;
    ProfileRef profile = std::make_shared<OpenProfile>(h);
    if (!KnownSpaces(h) || !IsLink(h)) return kSpFailed;
    auto* made = new (std::nothrow) SpXform;
    if (made == nullptr) return kSpNoMemory;
    made->steps.push_back(Step{std::move(profile), kSpRoleSource, kSpIntentPerceptual});
    *xform = made;
    return kSpOk;
}

SpStatus XformFree(SpXform** xform) {
    if (xform == nullptr || *xform == nullptr) return kSpBadArgument;
    delete *xform;
    *xform = nullptr;
    return kSpOk;
}

bool MatchesSpace(const SpPixelLayout& l, cmsColorSpaceSignature space) {
    return static_cast<cmsUInt32Number>(l.channels) == cmsChannelsOf(space);
}

// Runs `transform` over the rows; rows whose buffers overlap, or that are
// gathered, go through packed copies.
SpStatus RunRows(cmsHTRANSFORM transform, const SpPixelLayout& src, const MappedLayout& in,
                 const SpPixelLayout& dst, const MappedLayout& out) {
    const std::size_t inRow = static_cast<std::size_t>(src.width) * src.channels * SampleBytes(src);
    const std::size_t outRow = static_cast<std::size_t>(dst.width) * dst.channels * SampleBytes(dst);
    std::vector<std::uint8_t> inBuf(inRow), outBuf(outRow);
    for (int y = 0; y < src.rows; ++y) {
        const std::uint8_t* from = nullptr;
        if (in.gathered) {
            Gather(src, y, inBuf.data());
            from = inBuf.data();
        } else {
            from = in.base + static_cast<std::ptrdiff_t>(y) * src.rowStride;
        }
        std::uint8_t* to = out.gathered ? outBuf.data() : out.base + static_cast<std::ptrdiff_t>(y) * dst.rowStride;
        const bool overlaps = !in.gathered && !out.gathered && from < to + outRow && to < from + inRow;
        if (overlaps) {
            std::memcpy(inBuf.data(), from, inRow);
            from = inBuf.data();
        }
        cmsDoTransform(transform, from, to, static_cast<cmsUInt32Number>(src.width));
        if (out.gathered) Scatter(dst, y, outBuf.data());
    }
    return kSpOk;
}

// The gamut check: each pixel measured in Lab directly and after the trip
// through the proof device; the mask byte (or sample) is full where they
// differ by more than the threshold.
SpStatus RunGamut(const Compiled& c, const SpPixelLayout& src, const MappedLayout& in, const SpPixelLayout& dst) {
    const std::size_t inRow = static_cast<std::size_t>(src.width) * src.channels * SampleBytes(src);
    std::vector<std::uint8_t> inBuf(inRow);
    std::vector<cmsCIELab> direct(static_cast<std::size_t>(src.width)), trip(static_cast<std::size_t>(src.width));
    std::vector<std::uint16_t> device(static_cast<std::size_t>(src.width) * c.deviceChannels);
    const int maskBytes = SampleBytes(dst);
    for (int y = 0; y < src.rows; ++y) {
        const std::uint8_t* from;
        if (in.gathered) {
            Gather(src, y, inBuf.data());
            from = inBuf.data();
        } else {
            from = in.base + static_cast<std::ptrdiff_t>(y) * src.rowStride;
        }
        cmsDoTransform(c.direct.get(), from, direct.data(), static_cast<cmsUInt32Number>(src.width));
        cmsDoTransform(c.toDevice.get(), from, device.data(), static_cast<cmsUInt32Number>(src.width));
        cmsDoTransform(c.back.get(), device.data(), trip.data(), static_cast<cmsUInt32Number>(src.width));
        auto* mask = static_cast<std::uint8_t*>(dst.channel[0]) + static_cast<std::ptrdiff_t>(y) * dst.rowStride;
        for (int x = 0; x < src.width; ++x) {
            const bool outside = cmsDeltaE(&direct[x], &trip[x]) > kGamutThreshold;
            std::memset(mask + static_cast<std::ptrdiff_t>(x) * dst.pixelStep, outside ? 0xFF : 0, maskBytes);
        }
    }
    return kSpOk;
}

SpStatus Evaluate(SpXform* xform, const SpPixelLayout* source, const SpPixelLayout* destination, void*, void*) {
    if (xform == nullptr || !ValidLayout(source) || !ValidLayout(destination)) return kSpBadArgument;
    if (source->width != destination->width || source->rows != destination->rows) return kSpBadArgument;
    const std::optional<ResolvedChain> chain = Resolve(xform->steps);
    if (!chain) return kSpFailed;
    if (!MatchesSpace(*source, chain->input)) return kSpBadArgument;
    const bool gamut = chain->endsOnProof;
    if (gamut ? destination->channels != 1 : !MatchesSpace(*destination, chain->output)) return kSpBadArgument;
    if (source->width == 0 || source->rows == 0) return kSpOk;

    const MappedLayout in = MapLayout(*source, chain->input);
    const MappedLayout out = gamut ? MappedLayout{} : MapLayout(*destination, chain->output);
    std::lock_guard<std::mutex> lock(xform->mutex);
    auto [it, fresh] = xform->compiled.try_emplace({in.format, out.format});
    Compiled& c = it->second;
    if (fresh) {
        if (gamut) {
            // The direct path measures the colour before the proof; the round
            // trip goes into the proof device's own samples, where packing
            // them clips what the device cannot reach, and back.
            const auto first = chain->profiles.begin();
            const auto prefix = static_cast<std::ptrdiff_t>(chain->directCount);
            std::vector<cmsHPROFILE> directList(first, first + prefix);
            std::vector<cmsUInt32Number> directIntents(chain->intents.begin(), chain->intents.begin() + prefix);
            directList.push_back(LabProfile());
            directIntents.push_back(INTENT_RELATIVE_COLORIMETRIC);
            std::vector<cmsHPROFILE> toDevice(chain->profiles.begin(), chain->profiles.end() - 1);
            std::vector<cmsUInt32Number> toDeviceIntents(chain->intents.begin(), chain->intents.end() - 1);
            cmsHPROFILE proof = chain->profiles.back();
            const cmsColorSpaceSignature device = cmsGetColorSpace(proof);
            c.deviceFormat = COLORSPACE_SH(static_cast<cmsUInt32Number>(_cmsLCMScolorSpace(device))) |
                             CHANNELS_SH(cmsChannelsOf(device)) | BYTES_SH(2);
            c.deviceChannels = cmsChannelsOf(device);
            if (directList.size() > 1 && !toDevice.empty() && c.deviceChannels <= 16) {
                c.direct.reset(MakeTransform(directList, directIntents, in.format, TYPE_Lab_DBL));
                c.toDevice.reset(MakeTransform(toDevice, toDeviceIntents, in.format, c.deviceFormat));
                c.back.reset(MakeTransform({proof, LabProfile()},
                                           {INTENT_RELATIVE_COLORIMETRIC, INTENT_RELATIVE_COLORIMETRIC},
                                           c.deviceFormat, TYPE_Lab_DBL));
            }
        } else {
            c.transform.reset(MakeTransform(chain->profiles, chain->intents, in.format, out.format));
        }
    }
    if (gamut) {
        if (!c.direct || !c.toDevice || !c.back) return kSpFailed;
        return RunGamut(c, *source, in, *destination);
    }
    if (!c.transform) return kSpFailed;
    return RunRows(c.transform.get(), *source, in, *destination, out);
}

SpStatus Unsupported() {
    return kSpUnsupported;
}

class LittleCmsLibrary : public ProfileLibraryModule {
  public:
    SpEntry FindEntry(std::string_view name) const override {
        struct Named {
            std::string_view name;
            SpEntry entry;
        };
        static const Named kEntries[] = {
            {"SpTerminate", reinterpret_cast<SpEntry>(&Terminate)},
            {"SpEvaluate", reinterpret_cast<SpEntry>(&Evaluate)},
            {"SpXformGet", reinterpret_cast<SpEntry>(&XformGet)},
            {"SpProfileLoadProfile", reinterpret_cast<SpEntry>(&LoadProfile)},
            {"SpCombineXforms", reinterpret_cast<SpEntry>(&CombineXforms)},
            {"SpXformCreateFromData", reinterpret_cast<SpEntry>(&XformCreateFromData)},
            {"SpInitializeEx", reinterpret_cast<SpEntry>(&InitializeEx)},
            {"SpProfileFree", reinterpret_cast<SpEntry>(&FreeProfile)},
            {"SpInitThread", reinterpret_cast<SpEntry>(&InitThread)},
            {"SpTermThread", reinterpret_cast<SpEntry>(&TermThread)},
            {"SpXformFree", reinterpret_cast<SpEntry>(&XformFree)},
        };
        // The entries the module binds but never calls answer "unsupported".
        static constexpr std::string_view kUnused[] = {
            "SpInitialize",       "SpTagFree",          "SpTagGetById",          "SpProfileGetHeader",
            "SpProfileSaveProfile", "SpProfileSave",    "SpGetErrorText",        "SpGetInfo",
            "SpProfileSetHeader", "SpTagSet",           "SpProfileSaveToDiskEx", "SpProfileCreate",
            "SpXformSetData",     "SpXformGenerateDisplay", "SpProfileSaveToDisk", "SpXformSet",
            "SpXformGetDesc",
        };
        for (const Named& e : kEntries) {
            if (e.name == name) return e.entry;
        }
        for (std::string_view unused : kUnused) {
            if (unused == name) return reinterpret_cast<SpEntry>(&Unsupported);
        }
        return nullptr;
    }
};

}  // namespace

const ProfileLibraryModule* BuiltInProfileLibrary() {
    static const LittleCmsLibrary library;
    return &library;
}

}  // namespace platform
