// Standard error taken into a temporary file, and given back on a fatal end.
#include "module_messages.h"

#include <dlfcn.h>
#include <link.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tools {
namespace {

std::atomic<int> g_saved{-1};    // the real standard error while capturing
std::atomic<int> g_captured{-1};  // the file it goes to

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
struct sigaction g_previous[sizeof kFatalSignals / sizeof kFatalSignals[0]];
bool g_installed = false;

// Async-signal-safe: standard error back, with what was taken so far.
void GiveBack() {
    const int saved = g_saved.exchange(-1);
    if (saved < 0) return;
    if (::dup2(saved, STDERR_FILENO) < 0) return;
    const int captured = g_captured.load();
    struct stat st {};
    if (captured < 0 || ::fstat(captured, &st) != 0) return;
    char buffer[4096];
    off_t at = 0;
    for (ssize_t n; at < st.st_size && (n = ::pread(captured, buffer, sizeof buffer, at)) > 0; at += n) {
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(STDERR_FILENO, buffer + done, static_cast<size_t>(n - done));
            if (w <= 0) break;
            done += w;
        }
    }
}

void OnFatalSignal(int signal, siginfo_t* info, void*) {
    GiveBack();
    // The handler that was there before (a sanitizer's, or the default) takes
    // the signal: a fault happens again on return, a sent one is sent again.
    for (size_t i = 0; i < sizeof kFatalSignals / sizeof kFatalSignals[0]; ++i) {
        if (kFatalSignals[i] == signal) ::sigaction(signal, &g_previous[i], nullptr);
    }
    if (info == nullptr || info->si_code <= 0 || signal == SIGABRT) ::raise(signal);
}

// Calls `use` with each sanitizer runtime loaded in the process (none in a
// plain build).
template <typename Use>
void ForEachSanitizer(Use use) {
    std::vector<std::string> names;
    ::dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* out) {
            const std::string name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            if (name.find("libasan") != std::string::npos || name.find("libubsan") != std::string::npos ||
                name.find("clang_rt") != std::string::npos)
                static_cast<std::vector<std::string>*>(out)->push_back(name);
            return 0;
        },
        &names);
    for (const std::string& name : names) {
        if (void* runtime = ::dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD)) {
            use(runtime);
            ::dlclose(runtime);
        }
    }
}

void InstallOnce() {
    if (g_installed) return;
    g_installed = true;
    // A crash from running out of stack still needs a stack to report on.
    static char altStack[64 * 1024];
    stack_t current{};
    if (::sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE) != 0) {
        stack_t ours{};
        ours.ss_sp = altStack;
        ours.ss_size = sizeof altStack;
        ::sigaltstack(&ours, nullptr);
    }
    struct sigaction action {};
    action.sa_sigaction = &OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < sizeof kFatalSignals / sizeof kFatalSignals[0]; ++i)
        ::sigaction(kFatalSignals[i], &action, &g_previous[i]);
    ForEachSanitizer([](void* runtime) {
        using DeathCallbackFn = void (*)(void (*)(void));
        if (auto set = reinterpret_cast<DeathCallbackFn>(::dlsym(runtime, "__sanitizer_set_death_callback")))
            set(&GiveBack);
    });
}

}  // namespace

ModuleMessages::ModuleMessages() {
    std::fflush(stderr);
    file_ = std::tmpfile();
    saved_ = file_ != nullptr ? ::dup(STDERR_FILENO) : -1;
    if (saved_ < 0) return;
    InstallOnce();
    g_captured.store(::fileno(file_));
    g_saved.store(saved_);
    ::dup2(::fileno(file_), STDERR_FILENO);
}

int ModuleMessages::TerminalFd() {
    const int saved = g_saved.load();
    return saved >= 0 ? saved : STDERR_FILENO;
}

std::vector<std::string> ModuleMessages::Stop() {
    std::vector<std::string> lines;
    if (saved_ < 0) return lines;
    std::fflush(stderr);
    // Given back already when a fatal end began.
    if (g_saved.exchange(-1) >= 0) ::dup2(saved_, STDERR_FILENO);
    g_captured.store(-1);
    ::close(saved_);
    saved_ = -1;
    std::rewind(file_);
    std::string line;
    for (int c; (c = std::fgetc(file_)) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    std::fclose(file_);
    file_ = nullptr;
    return lines;
}

}  // namespace tools
