// The host's service implementations, by table index. Each implementation is
// registered through a recording entry: the module calls the entry, the entry
// logs the service's name and arguments in the current host's call log, then
// runs the implementation.
//
//   int32_t SVGF_CALL ReleaseHandle(svgf::HostHandle handle) { ... }
//   registry.Add<svgf::svc::kReleaseHandle, &ReleaseHandle>("ReleaseHandle");
//
// Implementations that need the host's state reach it through CurrentHost().
#ifndef HOST_SERVICE_REGISTRY_H
#define HOST_SERVICE_REGISTRY_H

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "host/call_log.h"
#include "svgfilter/filter_abi.h"

namespace host {

namespace detail {

// Logs a call of service `index` in the current host's log (when a host is
// running a command).
void RecordServiceCall(size_t index, std::vector<CallArg> args);
// Whether a host is running a command and keeps its log.
bool RecordingCalls();

template <typename Fn>
struct RecordingEntry;

template <typename R, typename... A>
struct RecordingEntry<R(SVGF_CALL*)(A...)> {
    template <size_t Index, R(SVGF_CALL* Impl)(A...)>
    static R SVGF_CALL Call(A... args) {
        if (RecordingCalls()) RecordServiceCall(Index, {ToCallArg(args)...});
        return Impl(args...);
    }
};

}  // namespace detail

class ServiceRegistry {
  public:
    // Registers a typed implementation with a recording entry at `Index`.
    template <size_t Index, auto Impl>
    void Add(std::string_view name) {
        static_assert(Index < svgf::kServiceSlots);
        using Entry = detail::RecordingEntry<decltype(Impl)>;
        Set(Index, name, reinterpret_cast<svgf::HostServiceFn>(&Entry::template Call<Index, Impl>));
    }
    // Registers an entry as it is, unrecorded (for tests that need a raw slot).
    void Set(size_t index, std::string_view name, svgf::HostServiceFn entry);
    // Empties a slot: the module then finds 0 there.
    void Remove(size_t index);

    std::string_view NameOf(size_t index) const;
    bool Has(size_t index) const { return index < svgf::kServiceSlots && entries_[index] != nullptr; }
    void Fill(svgf::HostServiceTable& table) const;

  private:
    std::array<svgf::HostServiceFn, svgf::kServiceSlots> entries_{};
    std::array<std::string, svgf::kServiceSlots> names_{};
};

}  // namespace host

#endif  // HOST_SERVICE_REGISTRY_H
