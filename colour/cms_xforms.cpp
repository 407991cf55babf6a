// One transform per conversion kind, chained from the device profiles of
// the colour directory and kept for the run; the one warning when a kind
// cannot be built; the Hexachrome transform file.
#include <array>
#include <climits>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cms_internal.h"
#include "colour/cms.h"
#include "colour/host_config.h"
#include "colour/profile_catalogue.h"
#include "colour/support.h"
#include "platform/host_paths.h"
#include "platform/messages.h"

namespace colour {
namespace {

using detail::CmsEntries;
using detail::CmsUse;
using platform::SpXform;

enum Profile { kScanner, kMonitor, kPrnRGB, kPrnCMYK, kThMon, kLab, kHostCand, kSystemInput };

// The profile a chain step names, and the device whose default profile
// the catalogue keeps for it.
struct ProfileFile {
    const char* name;
    const char* registration;  // null: not a device
};
constexpr ProfileFile kProfileFiles[] = {
    {kProfileScanner, "sICC"},     {kProfileMonitor, "mICC"}, {kProfilePrinterRGB, "3ICC"},
    {kProfilePrinterCMYK, "4ICC"}, {kProfileWorkingSpace, nullptr}, {kProfileLab, nullptr},
    {kProfileHostCandidate, nullptr}, {nullptr, nullptr},
};

struct ChainStep {
    Profile profile;
    std::int32_t role;
};

constexpr std::int32_t kSource = platform::kSpRoleSource;
constexpr std::int32_t kProof = platform::kSpRoleProof;
constexpr std::int32_t kDestination = platform::kSpRoleDestination;

// The chain of a kind. Where either printer may be proofed, the printer the
// catalogue names (CMYK or RGB) is.
std::vector<ChainStep> KindChain(int kind) {
    const bool printerProof = ClrGetSettings().printerProof != 0;
    const Profile printer = ClrPrinterIsCMYK() ? kPrnCMYK : kPrnRGB;
    std::vector<ChainStep> c;
    const auto add = [&c](Profile p, std::int32_t role) { c.push_back({p, role}); };
    const auto cmykProofIfAsked = [&] {
        if (printerProof) add(kPrnCMYK, kProof);
    };
    switch (kind) {
        case 0: add(kScanner, kSource); add(kThMon, kDestination); break;
        case 1: add(kThMon, kSource); add(kMonitor, kDestination); break;
        case 2: case 9: add(kThMon, kSource); cmykProofIfAsked(); add(kPrnRGB, kDestination); break;
        case 3: case 10: add(kThMon, kSource); add(kPrnCMYK, kDestination); break;
        case 4: case 11: add(kThMon, kSource); add(printer, kProof); add(kMonitor, kDestination); break;
        case 5: case 12: add(kThMon, kSource); add(kPrnCMYK, kProof); add(kMonitor, kDestination); break;
        case 6: case 13: cmykProofIfAsked(); add(kPrnRGB, kSource); add(kThMon, kDestination); break;
        case 7: case 14: add(kPrnCMYK, kSource); add(kThMon, kDestination); break;
        case 8: case 15: add(kPrnCMYK, kSource); add(kMonitor, kDestination); break;
        case 16: add(kThMon, kSource); add(printer, kProof); break;
        case 17: case 19:
            add(kThMon, kSource); cmykProofIfAsked(); add(kPrnRGB, kProof); add(kThMon, kDestination);
            break;
        case 18: case 20: add(kThMon, kSource); add(kPrnCMYK, kProof); add(kThMon, kDestination); break;
        case 21: case 22: add(kPrnRGB, kSource); cmykProofIfAsked(); add(kMonitor, kDestination); break;
        case 23: add(kLab, kSource); add(kThMon, kDestination); break;
        case 24: add(kThMon, kSource); add(kLab, kDestination); break;
        case 25: add(kHostCand, kSource); break;
        case 27: add(kLab, kSource); add(kMonitor, kDestination); break;
        case 28: case 34: add(kLab, kSource); cmykProofIfAsked(); add(kPrnRGB, kDestination); break;
        case 29: case 35: add(kLab, kSource); add(kPrnCMYK, kDestination); break;
        case 30: case 36: add(kLab, kSource); add(printer, kProof); add(kMonitor, kDestination); break;
        case 31: case 37: add(kLab, kSource); add(kPrnCMYK, kProof); add(kMonitor, kDestination); break;
        case 32: case 38: add(kPrnRGB, kSource); cmykProofIfAsked(); add(kLab, kDestination); break;
        case 33: case 39: add(kPrnCMYK, kSource); add(kLab, kDestination); break;
        case 40: case 41:
            add(kLab, kSource); cmykProofIfAsked(); add(kPrnRGB, kProof); add(kLab, kDestination);
            break;
        case 42: case 43: add(kLab, kSource); add(kPrnCMYK, kProof); add(kLab, kDestination); break;
        case 44: add(kLab, kSource); add(printer, kProof); break;
        case 45: add(kSystemInput, kSource); add(kThMon, kDestination); break;
        default: break;  // 26 has no chain
    }
    return c;
}

// The intents are this module's choice: perceptual into and out of the
// connection space, relative colorimetric through a proofed printer, so
// that the proof shows the printer's own colours on the paper's white.
std::int32_t IntentFor(std::int32_t role) {
    return role == kProof ? platform::kSpIntentRelativeColorimetric : platform::kSpIntentPerceptual;
}

struct KindRecord {
    SpXform* xform = nullptr;
    bool builtAndTested = false;
    bool warned = false;
    bool asked = false;
    std::unique_ptr<std::uint8_t[]> lookup;
};

struct TransformCache {
    std::array<KindRecord, kConversionKindCount> kinds;
    SpXform* hexachrome[2] = {nullptr, nullptr};  // normal, high quality
    bool hexachromeTried[2] = {false, false};
};

TransformCache g_cache;

bool ValidKind(int kind) {
    return kind >= 0 && kind < kConversionKindCount;
}

void FreeXform(const CmsEntries& e, SpXform** xform) {
    if (*xform != nullptr && e.xformFree != nullptr) e.xformFree(xform);
    *xform = nullptr;
}

// The first transform becomes the chain; a later one is combined with it,
// and both inputs are freed.
bool AppendXform(const CmsEntries& e, SpXform** chain, SpXform* xform) {
    if (*chain == nullptr) {
        *chain = xform;
        return true;
    }
    SpXform* pair[2] = {*chain, xform};
    SpXform* combined = nullptr;
    const bool ok = e.combineXforms != nullptr &&
                    e.combineXforms(2, pair, &combined, nullptr, nullptr) == platform::kSpOk && combined;
    FreeXform(e, chain);
    FreeXform(e, &xform);
    *chain = ok ? combined : nullptr;
    return ok;
}

bool AddProfileXform(const CmsUse& use, SpXform** chain, const std::string& path, std::int32_t how) {
    const CmsEntries& e = use.Entries();
    if (e.loadProfile == nullptr || e.xformGet == nullptr || e.profileFree == nullptr) return false;
    const std::string local = platform::LocalPath(path);
    platform::SpProfile* profile = nullptr;
    if (e.loadProfile(use.Instance(), local.c_str(), 0, &profile) != platform::kSpOk || profile == nullptr)
        return false;
    SpXform* xform = nullptr;
    const bool got = e.xformGet(profile, IntentFor(how), how, &xform) == platform::kSpOk && xform != nullptr;
    e.profileFree(&profile);
    return got && AppendXform(e, chain, xform);
}

// A transform file: the whole file handed to the library.
bool AddXformFile(const CmsUse& use, SpXform** chain, const std::string& path) {
    const CmsEntries& e = use.Entries();
    if (e.xformCreateFromData == nullptr) return false;
    std::ifstream in(platform::LocalPath(path), std::ios::binary);
    if (!in) return false;
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT32_MAX)) return false;
    SpXform* xform = nullptr;
    if (e.xformCreateFromData(static_cast<std::int32_t>(bytes.size()), bytes.data(), &xform) !=
            platform::kSpOk ||
        xform == nullptr)
        return false;
    return AppendXform(e, chain, xform);
}

std::string ProfilePathOf(Profile p) {
    if (p == kSystemInput) {
        std::string path;
        return ClrReadColorFileHead(kDeviceScanner, &path, true) == 1 ? path : std::string();
    }
    return ClrProfilePath(kProfileFiles[p].name);
}

bool SystemProfileReadable() {
    const std::string path = ClrGetSystemProfilePath();
    if (path.empty()) return false;
    ColorFile file;
    const bool readable = ClrOpenColorFile(path, &file, nullptr) == 0;
    ClrCloseColorFile(&file);
    return readable;
}

// Builds the kind's transform within a use of the library.
bool BuildLocked(const CmsUse& use, int kind) {
    KindRecord& record = g_cache.kinds[static_cast<std::size_t>(kind)];
    if (record.xform != nullptr) return true;
    if (!use.Usable() || !ClrColourManagementOn() || !SystemProfileReadable()) return false;
    const std::vector<ChainStep> chain = KindChain(kind);
    if (chain.empty()) return false;
    // The device profile files follow the catalogue's defaults.
    for (const ChainStep& step : chain) {
        if (const char* registration = kProfileFiles[step.profile].registration)
            ClrSetDefaultProfile(use.Instance(), registration, ClrProfilePath(kProfileFiles[step.profile].name), 0);
    }
    SpXform* xform = nullptr;
    for (const ChainStep& step : chain) {
        const std::string path = ProfilePathOf(step.profile);
        if (path.empty() || !AddProfileXform(use, &xform, path, step.role)) {
            FreeXform(use.Entries(), &xform);
            return false;
        }
    }
    record.xform = xform;
    return true;
}

}  // namespace

namespace detail {

SpXform* KindTransform(int kind) {
    if (!ValidKind(kind)) return nullptr;
    std::lock_guard<std::recursive_mutex> lock(CmsLock());
    return g_cache.kinds[static_cast<std::size_t>(kind)].xform;
}

const std::uint8_t* KindLookupTable(int kind) {
    if (!ValidKind(kind)) return nullptr;
    std::lock_guard<std::recursive_mutex> lock(CmsLock());
    return g_cache.kinds[static_cast<std::size_t>(kind)].lookup.get();
}

void SetKindLookupTable(int kind, std::unique_ptr<std::uint8_t[]> table) {
    if (!ValidKind(kind)) return;
    std::lock_guard<std::recursive_mutex> lock(CmsLock());
    KindRecord& record = g_cache.kinds[static_cast<std::size_t>(kind)];
    if (!record.lookup) record.lookup = std::move(table);
}

}  // namespace detail

int ClrBuildXform(int kind) {
    if (!ValidKind(kind)) return 0;
    CmsUse use;
    return BuildLocked(use, kind) ? 1 : 0;
}

int ClrWarnOnce(int kind) {
    // With colour management off nothing is tried, so a kind asked for then
    // is still built once the host turns colour management on.
    if (!ValidKind(kind) || !ClrColourManagementOn()) return 0;
    bool warn = false;
    int built;
    {
        CmsUse use;
        KindRecord& record = g_cache.kinds[static_cast<std::size_t>(kind)];
        if (!record.asked) {
            record.asked = true;
            if (BuildLocked(use, kind)) {
                record.builtAndTested = true;
            } else {
                record.warned = true;
                ClrSettings& settings = ClrGetSettings();
                if (settings.warnings != 0) {
                    settings.warnings = 0;
                    warn = true;
                }
            }
        }
        built = record.builtAndTested ? 1 : 0;
    }
    // The box is shown outside the lock: another thread may convert meanwhile.
    if (warn)
        platform::ShowMessage(platform::MessageKind::Warning, "Color Management",
                              LoadResString(kStrColourManagementWarning));
    return built;
}

namespace detail {

bool HexachromeRows(const std::uint8_t* src, std::ptrdiff_t srcStride, std::uint8_t* dst,
                    std::ptrdiff_t dstStride, int width, int rows) {
    if (!ClrColourManagementOn()) return false;
    CmsUse use;
    if (!use.Usable() || use.Entries().evaluate == nullptr) return false;
    const int quality = ClrGetSettings().hexachromeHighQuality != 0 ? 1 : 0;
    if (!g_cache.hexachromeTried[quality]) {
        g_cache.hexachromeTried[quality] = true;
        const std::string path = ClrProfilePath(quality ? kHexachromeHighQuality : kHexachromeNormal);
        if (!path.empty()) AddXformFile(use, &g_cache.hexachrome[quality], path);
    }
    SpXform* xform = g_cache.hexachrome[quality];
    if (xform == nullptr) return false;
    const platform::SpPixelLayout from = MakePixelLayout(kEvalRGB, src, width, rows, srcStride);
    const platform::SpPixelLayout to = MakePixelLayout(kEvalHexachrome, dst, width, rows, dstStride);
    return use.Entries().evaluate(xform, &from, &to, nullptr, nullptr) == platform::kSpOk;
}

}  // namespace detail

int ClrRGBToHexachrome(const ClrKindsTable*, std::uint8_t* dst, const std::uint8_t* src, int width, int rows) {
    if (width < 0 || rows < 0 || width > (INT32_MAX - 3) / 6) return 0;
    if (width == 0 || rows == 0) return 1;
    if (dst == nullptr || src == nullptr) return 0;
    return detail::HexachromeRows(src, (3 * width + 3) & ~3, dst, 6 * width, width, rows) ? 1 : 0;
}

void ClrForgetColourManagement() {
    {
        std::lock_guard<std::recursive_mutex> lock(detail::CmsLock());
        const CmsEntries& e = detail::BoundEntries();
        for (KindRecord& record : g_cache.kinds) FreeXform(e, &record.xform);
        for (SpXform*& xform : g_cache.hexachrome) FreeXform(e, &xform);
        g_cache = TransformCache{};
    }
    detail::ForgetCmsLibrary();
}

}  // namespace colour
