// The context, the callback set and the command loop of the stand-in host.
#include "host/stand_in_host.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <new>

namespace host {
namespace {

thread_local StandInHost* t_current = nullptr;

}  // namespace

StandInHost* CurrentHost() {
    return t_current;
}

namespace detail {

void RecordServiceCall(size_t index, std::vector<CallArg> args) {
    if (StandInHost* current = CurrentHost()) {
        current->Log().Record(std::string(current->Services().NameOf(index)), std::move(args));
    }
}

bool RecordingCalls() {
    StandInHost* const current = CurrentHost();
    return current != nullptr && current->Log().Recording();
}

}  // namespace detail

StandInHost::StandInHost(svgf::FilterEntryFn entry) : entry_(entry) {
    // The application hands the module a zero-filled record with its size stamp.
    context_ = static_cast<svgf::FilterContext*>(std::calloc(1, sizeof(svgf::FilterContext)));
    if (context_ == nullptr) throw std::bad_alloc();
    context_->size = svgf::kContextSize;
    context_->hostHandle = kDrawingHandle;
    context_->services = &table_;
    context_->callbackSet = &callbacks_;
    context_->exchangeBlock = exchangeBlock_.data();
    callbacks_.first = &FirstCallback;
    callbacks_.second = &SecondCallback;
    callbacks_.userValue = reinterpret_cast<uintptr_t>(this);
    RegisterDefaultServices(services_);
}

StandInHost::~StandInHost() {
    CloseOutput();
    std::free(context_);
}

int32_t StandInHost::Call(uint32_t code) {
    CurrentScope scope(this);
    return entry_(code, context_);
}

StandInHost::CurrentScope::CurrentScope(StandInHost* host) : previous_(t_current) {
    host->services_.Fill(host->table_);
    if (host->fonts_) host->fonts_->Serve();
    t_current = host;
}

StandInHost::CurrentScope::~CurrentScope() {
    t_current = previous_;
    if (previous_ != nullptr && previous_->fonts_) previous_->fonts_->Serve();
}

HostFonts* StandInHost::Fonts() {
    if (!fonts_) {
        fonts_ = MakeHostFonts();
        if (fonts_) fonts_->Serve();
    }
    return fonts_.get();
}

void StandInHost::SetNoUserInterface(bool noUserInterface) {
    if (noUserInterface) {
        context_->flags |= svgf::kFlagNoUserInterface;
    } else {
        context_->flags &= ~svgf::kFlagNoUserInterface;
    }
}

bool StandInHost::OpenOutput(const std::string& path) {
    CloseOutput();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    outputFd_ = fd;
    outputPath_ = path;
    context_->fileName = outputPath_.data();
    context_->fileHandle = fd;
    return true;
}

void StandInHost::CloseOutput() {
    if (outputFd_ >= 0) ::close(outputFd_);
    outputFd_ = -1;
    context_->fileName = nullptr;
    context_->fileHandle = 0;
}

void StandInHost::SetCallbackAnswers(int32_t first, int32_t second) {
    firstAnswer_ = first;
    secondAnswer_ = second;
}

int32_t SVGF_CALL StandInHost::FirstCallback(svgf::HostHandle hostHandle, uintptr_t argument,
                                             uintptr_t userValue) {
    auto* self = reinterpret_cast<StandInHost*>(userValue);
    self->log_.Record("Callback1", {ToCallArg(hostHandle), ToCallArg(argument), ToCallArg(userValue)});
    if (self->firstHandler_) return self->firstHandler_(hostHandle, argument);
    return self->firstAnswer_;
}

int32_t SVGF_CALL StandInHost::SecondCallback(svgf::HostHandle hostHandle, uintptr_t argument,
                                              uintptr_t userValue) {
    auto* self = reinterpret_cast<StandInHost*>(userValue);
    self->log_.Record("Callback2", {ToCallArg(hostHandle), ToCallArg(argument), ToCallArg(userValue)});
    return self->secondAnswer_;
}

}  // namespace host
