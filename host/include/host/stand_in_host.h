// The stand-in host application: it owns a zero-filled context with its
// service table and callback set, opens the output file, and drives the
// module's FilterEntry, logging every call the module makes back into it.
#ifndef HOST_STAND_IN_HOST_H
#define HOST_STAND_IN_HOST_H

#include <array>
#include <cstdint>
#include <memory>
#include <functional>
#include <string>

#include "host/call_log.h"
#include "host/host_fonts.h"
#include "host/service_registry.h"
#include "svgfilter/filter_abi.h"

namespace host {

// The drawing handle the host hands the module unless told otherwise.
inline constexpr svgf::HostHandle kDrawingHandle = 1;

class StandInHost {
  public:
    // `entry` is the module's FilterEntry. The default services are registered.
    explicit StandInHost(svgf::FilterEntryFn entry);
    ~StandInHost();
    StandInHost(const StandInHost&) = delete;
    StandInHost& operator=(const StandInHost&) = delete;

    svgf::FilterContext& Context() { return *context_; }
    ServiceRegistry& Services() { return services_; }
    CallLog& Log() { return log_; }
    // The host's fonts, made on first use; null when the host has none. The
    // font services answer from the fonts of the host that is current.
    HostFonts* Fonts();

    // Runs one command; the host is the current one while the module runs it.
    int32_t Call(uint32_t code);
    // Runs `report`, the host calling entries of the module's callback record,
    // with this host current, so that the services the module calls meanwhile
    // are logged here too.
    template <typename F>
    auto Report(F&& report) {
        CurrentScope scope(this);
        return report();
    }

    void SetNoUserInterface(bool noUserInterface);
    // The parent window handed to dialogs; on this platform a platform::Window.
    void SetParentWindow(void* window) { context_->parentWindow = window; }
    // Opens (creating or emptying) the output file and names it in the context.
    bool OpenOutput(const std::string& path);
    void CloseOutput();
    // What the two callbacks of the callback set answer.
    void SetCallbackAnswers(int32_t first, int32_t second);
    // What the first callback does beyond logging (drawing a pattern tile,
    // say); its answer replaces the set answer. Empty: nothing.
    using CallbackHandler = std::function<int32_t(svgf::HostHandle hostHandle, uintptr_t argument)>;
    void SetFirstCallbackHandler(CallbackHandler handler) { firstHandler_ = std::move(handler); }

  private:
    // Makes a host the current one for its lifetime.
    class CurrentScope {
      public:
        explicit CurrentScope(StandInHost* host);
        ~CurrentScope();
        CurrentScope(const CurrentScope&) = delete;
        CurrentScope& operator=(const CurrentScope&) = delete;

      private:
        StandInHost* previous_;
    };

    static int32_t SVGF_CALL FirstCallback(svgf::HostHandle hostHandle, uintptr_t argument,
                                           uintptr_t userValue);
    static int32_t SVGF_CALL SecondCallback(svgf::HostHandle hostHandle, uintptr_t argument,
                                            uintptr_t userValue);

    svgf::FilterEntryFn entry_;
    svgf::FilterContext* context_;
    svgf::HostServiceTable table_{};
    svgf::HostCallbackSet callbacks_{};
    std::array<uint8_t, svgf::kExchangeBlockSize> exchangeBlock_{};
    ServiceRegistry services_;
    CallLog log_;
    std::unique_ptr<HostFonts> fonts_;
    std::string outputPath_;
    int outputFd_ = -1;
    CallbackHandler firstHandler_;
    int32_t firstAnswer_ = 1;
    int32_t secondAnswer_ = 0;
};

// The host running a command on this thread, or null.
StandInHost* CurrentHost();

// Registers the services every stand-in host offers.
void RegisterDefaultServices(ServiceRegistry& registry);

}  // namespace host

#endif  // HOST_STAND_IN_HOST_H
