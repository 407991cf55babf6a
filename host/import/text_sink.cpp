// The description's text in memory or in a temporary file.
#include "text_sink.h"

#include <unistd.h>

#include <vector>

namespace host::import {
namespace {

// Pieces of 64 KB: the buffer never grows past them, so a large drawing's
// description costs the process no more than a small one's while it is made.
constexpr size_t kBuffer = size_t{1} << 16;

}  // namespace

void TextSink::UseFile() {
    if (file_ || !Empty()) return;
    file_.reset(std::tmpfile());
    if (file_) buffer_.reserve(kBuffer);
}

void TextSink::Append(std::string_view text) {
    if (file_ && buffer_.size() + text.size() > kBuffer) {
        Flush();
        if (text.size() >= kBuffer) {
            Write(text);
            return;
        }
    }
    buffer_.append(text);
}

void TextSink::Flush() {
    Write(buffer_);
    buffer_.clear();
}

void TextSink::Write(std::string_view text) {
    if (lost_ || text.empty()) return;
    // Whole pieces only, so that the file always holds what it says it does.
    if (std::fwrite(text.data(), 1, text.size(), file_.get()) != text.size() || std::fflush(file_.get()) != 0) {
        lost_ = true;
    }
    written_ += text.size();
}

bool TextSink::Read(const std::function<void(std::string_view)>& take) const {
    if (lost_) return false;
    if (file_) {
        std::vector<char> piece(kBuffer);
        const int fd = ::fileno(file_.get());
        for (size_t at = 0; at < written_;) {
            const ssize_t n = ::pread(fd, piece.data(), std::min(piece.size(), written_ - at), static_cast<off_t>(at));
            if (n <= 0) return false;
            take(std::string_view(piece.data(), static_cast<size_t>(n)));
            at += static_cast<size_t>(n);
        }
    }
    if (!buffer_.empty()) take(buffer_);
    return true;
}

std::string TextSink::Text() const {
    std::string out;
    out.reserve(written_ + buffer_.size());
    Read([&](std::string_view piece) { out.append(piece); });
    return out;
}

void TextSink::Clear() {
    file_.reset();
    buffer_.clear();
    std::string().swap(buffer_);
    written_ = 0;
    lost_ = false;
}

}  // namespace host::import
