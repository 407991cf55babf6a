// The profile library's binding and initialisation, the lock, the use
// bracket around every call, and the pixel layouts the library is given.
#include <initializer_list>
#include <thread>

#include "cms_internal.h"
#include "colour/cms.h"
#include "colour/support.h"

namespace colour {
namespace detail {
namespace {

struct LibraryState {
    const platform::ProfileLibraryModule* module = nullptr;
    CmsEntries entries;
    platform::SpInstance* instance = nullptr;
    bool unavailable = false;
    std::thread::id initThread;
};

LibraryState g_library;

template <typename Fn>
Fn Bind(const platform::ProfileLibraryModule& module, const char* name) {
    return reinterpret_cast<Fn>(module.FindEntry(name));
}

}  // namespace

bool CmsInstanceExists() {
    std::lock_guard<std::recursive_mutex> lock(CmsLock());
    return g_library.instance != nullptr;
}

const CmsEntries& BoundEntries() {
    return g_library.entries;
}

std::recursive_mutex& CmsLock() {
    // Set up with the module, before any colour-managed call.
    static std::recursive_mutex lock;
    return lock;
}

CmsUse::CmsUse() {
    const bool initialised = ClrInitCms() != 0;
    lock_ = std::unique_lock<std::recursive_mutex>(CmsLock());
    if (!initialised || g_library.instance == nullptr) return;
    if (std::this_thread::get_id() != g_library.initThread) {
        // Another thread's use is bracketed by the library's thread set-up.
        const CmsEntries& e = g_library.entries;
        if (e.initThread == nullptr || e.termThread == nullptr ||
            e.initThread(g_library.instance, nullptr, nullptr) != platform::kSpOk)
            return;
        bracketed_ = true;
    }
    usable_ = true;
}

CmsUse::~CmsUse() {
    if (bracketed_) g_library.entries.termThread(g_library.instance);
}

const CmsEntries& CmsUse::Entries() const {
    return g_library.entries;
}

platform::SpInstance* CmsUse::Instance() const {
    return g_library.instance;
}

bool EvaluateXform(platform::SpXform* xform, const platform::SpPixelLayout& source,
                   const platform::SpPixelLayout& destination) {
    if (xform == nullptr) return false;
    CmsUse use;
    return use.Usable() && use.Entries().evaluate != nullptr &&
           use.Entries().evaluate(xform, &source, &destination, nullptr, nullptr) == platform::kSpOk;
}

void ForgetCmsLibrary() {
    std::lock_guard<std::recursive_mutex> lock(CmsLock());
    if (g_library.instance != nullptr && g_library.entries.terminate != nullptr)
        g_library.entries.terminate(&g_library.instance);
    g_library = LibraryState{};
}

platform::SpPixelLayout MakePixelLayout(EvalLayout layout, const std::uint8_t* base, int width, int rows,
                                        std::ptrdiff_t stride) {
    platform::SpPixelLayout l{};
    l.sampleFormat = platform::kSpSample8;
    l.width = width;
    l.rows = rows;
    l.rowStride = static_cast<std::int32_t>(stride);
    auto* p = const_cast<std::uint8_t*>(base);
    const auto channels = [&](std::initializer_list<int> offsets, int step) {
        l.pixelStep = step;
        l.channels = static_cast<std::int32_t>(offsets.size());
        int i = 0;
        for (int offset : offsets) l.channel[i++] = p + offset;
    };
    switch (layout) {
        case kEvalRGB:
            channels({2, 1, 0}, 3);  // red, green, blue of blue-first pixels
            break;
        case kEvalLab:
            channels({0, 1, 2}, 3);
            break;
        case kEvalCMYK:
            channels({0, 1, 2, 3}, 4);
            break;
        case kEvalRGB48:
            l.sampleFormat = platform::kSpSample16;
            channels({4, 2, 0}, 6);
            break;
        case kEvalHexachrome:
            channels({0, 1, 2, 3, 4, 5}, 6);
            break;
        case kEvalMask:
            channels({0}, 1);
            break;
    }
    return l;
}

}  // namespace detail

int ClrLoadCmsLibrary() {
    using namespace platform;
    detail::LibraryState& s = detail::g_library;
    s.module = LoadProfileLibrary();
    if (s.module == nullptr) return 0;
    // Every entry the library exports is bound; the module calls eleven.
    const ProfileLibraryModule& m = *s.module;
    detail::CmsEntries& e = s.entries;
    e.terminate = detail::Bind<SpTerminateFn>(m, "SpTerminate");
    e.evaluate = detail::Bind<SpEvaluateFn>(m, "SpEvaluate");
    e.xformGet = detail::Bind<SpXformGetFn>(m, "SpXformGet");
    e.loadProfile = detail::Bind<SpProfileLoadProfileFn>(m, "SpProfileLoadProfile");
    e.combineXforms = detail::Bind<SpCombineXformsFn>(m, "SpCombineXforms");
    e.xformCreateFromData = detail::Bind<SpXformCreateFromDataFn>(m, "SpXformCreateFromData");
    e.initializeEx = detail::Bind<SpInitializeExFn>(m, "SpInitializeEx");
    e.profileFree = detail::Bind<SpProfileFreeFn>(m, "SpProfileFree");
    e.initThread = detail::Bind<SpInitThreadFn>(m, "SpInitThread");
    e.termThread = detail::Bind<SpTermThreadFn>(m, "SpTermThread");
    e.xformFree = detail::Bind<SpXformFreeFn>(m, "SpXformFree");
    return 1;
}

int ClrInitCms() {
    std::lock_guard<std::recursive_mutex> lock(detail::CmsLock());
    detail::LibraryState& s = detail::g_library;
    if (s.instance == nullptr && !s.unavailable) {
        // The record: its size in the library's 32-bit terms, and the module
        // the library takes its strings from.
        const platform::SpInitRecord record{8, GetResourceModule()};
        if (ClrLoadCmsLibrary() != 0 && s.entries.initializeEx != nullptr &&
            s.entries.initializeEx(&s.instance, nullptr, nullptr, &record) == platform::kSpOk &&
            s.instance != nullptr) {
            s.initThread = std::this_thread::get_id();
        } else {
            s.instance = nullptr;
            s.unavailable = true;
            s.initThread = std::this_thread::get_id();
        }
    }
    return s.unavailable ? 0 : 1;
}

ClrSettings ClrSetSettings(const ClrSettings& settings) {
    const ClrSettings previous = ClrGetSettings();
    ClrGetSettings() = settings;
    return previous;
}

}  // namespace colour
