// InflatingFile over zlib's gzip file reader.
#include <zlib.h>

#include "platform/inflating_file.h"

namespace platform {

struct InflatingFile::State {
    gzFile file = nullptr;
};

InflatingFile::InflatingFile() : state_(std::make_unique<State>()) {}

InflatingFile::~InflatingFile() {
    Close();
}

bool InflatingFile::Available() {
    return true;
}

bool InflatingFile::Open(const char* path) {
    Close();
    state_->file = gzopen(path, "rb");
    return state_->file != nullptr;
}

long InflatingFile::Read(void* buffer, std::uint32_t count) {
    if (!state_->file) return -1;
    const int got = gzread(state_->file, buffer, count);
    if (got < 0) return -1;
    // A stream cut short reads as its end; zlib tells it apart.
    if (got == 0) {
        int code = Z_OK;
        gzerror(state_->file, &code);
        if (code != Z_OK && code != Z_STREAM_END) return -1;
        if (!gzeof(state_->file)) return -1;
    }
    return got;
}

void InflatingFile::Close() {
    if (state_ && state_->file) {
        gzclose(state_->file);
        state_->file = nullptr;
    }
}

}  // namespace platform
