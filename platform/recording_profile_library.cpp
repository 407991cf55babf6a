// The recording profile library: each entry point counts its call and
// forwards to the same entry of the wrapped library.
#include "platform/recording_profile_library.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<RecordingProfileLibrary*> g_active{nullptr};

// Counts the call and finds the wrapped entry; null when the call is to fail.
template <typename Fn>
Fn Forward(std::string_view name) {
    RecordingProfileLibrary* library = g_active.load();
    if (library == nullptr || !library->Enter(name)) return nullptr;
    return reinterpret_cast<Fn>(library->Inner(name));
}

SpStatus InitializeEx(SpInstance** a, void* b, void* c, const SpInitRecord* d) {
    auto fn = Forward<SpInitializeExFn>("SpInitializeEx");
    return fn ? fn(a, b, c, d) : kSpFailed;
}
SpStatus Terminate(SpInstance** a) {
    auto fn = Forward<SpTerminateFn>("SpTerminate");
    return fn ? fn(a) : kSpFailed;
}
SpStatus InitThread(SpInstance* a, void* b, void* c) {
    auto fn = Forward<SpInitThreadFn>("SpInitThread");
    return fn ? fn(a, b, c) : kSpFailed;
}
SpStatus TermThread(SpInstance* a) {
    auto fn = Forward<SpTermThreadFn>("SpTermThread");
    return fn ? fn(a) : kSpFailed;
}
SpStatus LoadProfile(SpInstance* a, const char* b, std::int32_t c, SpProfile** d) {
    auto fn = Forward<SpProfileLoadProfileFn>("SpProfileLoadProfile");
    return fn ? fn(a, b, c, d) : kSpFailed;
}
SpStatus FreeProfile(SpProfile** a) {
    auto fn = Forward<SpProfileFreeFn>("SpProfileFree");
    return fn ? fn(a) : kSpFailed;
}
SpStatus XformGet(SpProfile* a, std::int32_t b, std::int32_t c, SpXform** d) {
    auto fn = Forward<SpXformGetFn>("SpXformGet");
    return fn ? fn(a, b, c, d) : kSpFailed;
}
SpStatus Combine(std::int32_t a, SpXform* const* b, SpXform** c, void* d, void* e) {
    auto fn = Forward<SpCombineXformsFn>("SpCombineXforms");
    return fn ? fn(a, b, c, d, e) : kSpFailed;
}
SpStatus FromData(std::int32_t a, const void* b, SpXform** c) {
    auto fn = Forward<SpXformCreateFromDataFn>("SpXformCreateFromData");
    return fn ? fn(a, b, c) : kSpFailed;
}
SpStatus XformFree(SpXform** a) {
    auto fn = Forward<SpXformFreeFn>("SpXformFree");
    return fn ? fn(a) : kSpFailed;
}
SpStatus Evaluate(SpXform* a, const SpPixelLayout* b, const SpPixelLayout* c, void* d, void* e) {
    auto fn = Forward<SpEvaluateFn>("SpEvaluate");
    return fn ? fn(a, b, c, d, e) : kSpFailed;
}

struct Named {
    std::string_view name;
    SpEntry entry;
};
const Named kEntries[] = {
    {"SpInitializeEx", reinterpret_cast<SpEntry>(&InitializeEx)},
    {"SpTerminate", reinterpret_cast<SpEntry>(&Terminate)},
    {"SpInitThread", reinterpret_cast<SpEntry>(&InitThread)},
    {"SpTermThread", reinterpret_cast<SpEntry>(&TermThread)},
    {"SpProfileLoadProfile", reinterpret_cast<SpEntry>(&LoadProfile)},
    {"SpProfileFree", reinterpret_cast<SpEntry>(&FreeProfile)},
    {"SpXformGet", reinterpret_cast<SpEntry>(&XformGet)},
    {"SpCombineXforms", reinterpret_cast<SpEntry>(&Combine)},
    {"SpXformCreateFromData", reinterpret_cast<SpEntry>(&FromData)},
    {"SpXformFree", reinterpret_cast<SpEntry>(&XformFree)},
    {"SpEvaluate", reinterpret_cast<SpEntry>(&Evaluate)},
};

}  // namespace

RecordingProfileLibrary::RecordingProfileLibrary(const ProfileLibraryModule* inner) : inner_(inner) {
    g_active = this;
}

RecordingProfileLibrary::~RecordingProfileLibrary() {
    RecordingProfileLibrary* self = this;
    g_active.compare_exchange_strong(self, nullptr);
}

void RecordingProfileLibrary::Remove(std::string_view name) {
    std::lock_guard<std::mutex> lock(mutex_);
    removed_.emplace(name);
}

void RecordingProfileLibrary::Fail(std::string_view name) {
    std::lock_guard<std::mutex> lock(mutex_);
    failing_.emplace(name);
}

int RecordingProfileLibrary::Calls(std::string_view name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = calls_.find(name);
    return it == calls_.end() ? 0 : it->second;
}

bool RecordingProfileLibrary::Enter(std::string_view name) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = calls_.find(name);
    if (it == calls_.end()) it = calls_.emplace(std::string(name), 0).first;
    ++it->second;
    return failing_.find(name) == failing_.end() && inner_ != nullptr && inner_->FindEntry(name) != nullptr;
}

SpEntry RecordingProfileLibrary::Inner(std::string_view name) const {
    return inner_ != nullptr ? inner_->FindEntry(name) : nullptr;
}

SpEntry RecordingProfileLibrary::FindEntry(std::string_view name) const {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (removed_.find(name) != removed_.end()) return nullptr;
    }
    for (const Named& e : kEntries) {
        if (e.name == name) return e.entry;
    }
    return inner_ != nullptr ? inner_->FindEntry(name) : nullptr;
}

}  // namespace platform
