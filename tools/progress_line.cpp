// The terminal progress line and where an input's reading stands.
#include "progress_line.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace tools {

bool ReadPosition(const std::string& path, uint64_t* position) {
    struct stat target {};
    if (::stat(path.c_str(), &target) != 0) return false;
    DIR* fds = ::opendir("/proc/self/fd");
    if (fds == nullptr) return false;
    bool found = false;
    for (dirent* entry; !found && (entry = ::readdir(fds)) != nullptr;) {
        if (entry->d_name[0] == '.') continue;
        struct stat open {};
        const std::string fd = std::string("/proc/self/fd/") + entry->d_name;
        if (::stat(fd.c_str(), &open) != 0 || open.st_dev != target.st_dev || open.st_ino != target.st_ino) continue;
        std::ifstream info(std::string("/proc/self/fdinfo/") + entry->d_name);
        std::string key;
        uint64_t pos = 0;
        if (info >> key >> pos && key == "pos:") {
            *position = pos;
            found = true;
        }
    }
    ::closedir(fds);
    return found;
}

ProgressLine::ProgressLine(int fd, std::string label, const std::string& input, std::function<uint64_t()> drawn)
    : fd_(fd), label_(std::move(label)), drawn_(std::move(drawn)) {
    if (::isatty(fd_) != 1) return;
    char real[PATH_MAX];
    input_ = ::realpath(input.c_str(), real) != nullptr ? std::string(real) : input;
    struct stat st {};
    if (::stat(input_.c_str(), &st) == 0) size_ = static_cast<uint64_t>(st.st_size);
    thread_ = std::thread([this] { Run(); });
}

void ProgressLine::Run() {
    std::unique_lock<std::mutex> hold(lock_);
    while (!stopping_) {
        Draw();
        wake_.wait_for(hold, std::chrono::milliseconds(100), [this] { return stopping_; });
    }
}

void ProgressLine::Draw() {
    uint64_t read = 0;
    if (ReadPosition(input_, &read) && read > lastRead_) lastRead_ = read;
    const uint64_t drawn = drawn_ ? drawn_() : 0;
    char line[256];
    if (drawn > 0) {
        std::snprintf(line, sizeof line, "\r\033[K%s: drawing, %llu objects drawn", label_.c_str(),
                      static_cast<unsigned long long>(drawn));
    } else {
        const unsigned percent = size_ > 0 ? static_cast<unsigned>(std::min<uint64_t>(lastRead_, size_) * 100 / size_) : 0;
        std::snprintf(line, sizeof line, "\r\033[K%s: reading, %u%% of %.1f MB", label_.c_str(), percent,
                      static_cast<double>(size_) / 1e6);
    }
    drew_ = ::write(fd_, line, std::char_traits<char>::length(line)) > 0 || drew_;
}

void ProgressLine::Stop() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
    if (drew_) {
        const char clear[] = "\r\033[K";
        [[maybe_unused]] const ssize_t n = ::write(fd_, clear, sizeof clear - 1);
    }
}

}  // namespace tools
