// Progress windows: the terminal one, the recording one and the factory.
#include "platform/progress_window.h"

#include <unistd.h>

#include <cstdio>

namespace platform {

namespace {

ProgressWindowFactory& Factory() {
    static ProgressWindowFactory factory;
    return factory;
}

constexpr int kBarWidth = 30;

}  // namespace

void ProgressWindow::Destroy() {
    ProgressWindowListener* listener = listener_;
    if (!listener) return;
    listener_ = nullptr;
    TakeDown();
    listener->WindowDestroyed();  // may delete this object
}

TerminalProgressWindow::TerminalProgressWindow(ProgressWindowListener& listener)
    : ProgressWindow(listener), terminal_(::isatty(STDERR_FILENO) == 1) {}

void TerminalProgressWindow::SetText(const std::string& text) {
    text_ = text;
    Draw();
}

void TerminalProgressWindow::SetRange(std::int32_t low, std::int32_t high) {
    low_ = low;
    high_ = high;
    Draw();
}

void TerminalProgressWindow::SetPosition(std::int32_t position) {
    position_ = position;
    Draw();
}

void TerminalProgressWindow::Draw() {
    if (!terminal_) return;
    const double span = static_cast<double>(high_) - low_;
    double part = span > 0 ? (static_cast<double>(position_) - low_) / span : 0.0;
    if (part < 0) part = 0;
    if (part > 1) part = 1;
    const int filled = static_cast<int>(part * kBarWidth);
    char bar[kBarWidth + 1];
    for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
    bar[kBarWidth] = 0;
    // \r and "erase line" redraw in place.
    std::fprintf(stderr, "\r\033[K%.60s [%s] %3d%%", text_.c_str(), bar, static_cast<int>(part * 100));
    std::fflush(stderr);
    drawn_ = true;
}

void TerminalProgressWindow::TakeDown() {
    if (terminal_ && drawn_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
}

RecordingProgressWindow::RecordingProgressWindow(ProgressWindowListener& listener, Log& log)
    : ProgressWindow(listener), log_(log) {
    ++log_.created;
    log_.live = this;
}

RecordingProgressWindow::~RecordingProgressWindow() {
    if (log_.live == this) log_.live = nullptr;
}

std::unique_ptr<ProgressWindow> CreateProgressWindow(ProgressWindowListener& listener) {
    if (Factory()) return Factory()(listener);
    return std::make_unique<TerminalProgressWindow>(listener);
}

void SetProgressWindowFactory(ProgressWindowFactory factory) {
    Factory() = std::move(factory);
}

}  // namespace platform
