// InflatingFile where the build has no zlib: nothing opens.
#include "platform/inflating_file.h"

namespace platform {

struct InflatingFile::State {};

InflatingFile::InflatingFile() = default;
InflatingFile::~InflatingFile() = default;

bool InflatingFile::Available() {
    return false;
}

bool InflatingFile::Open(const char*) {
    return false;
}

long InflatingFile::Read(void*, std::uint32_t) {
    return -1;
}

void InflatingFile::Close() {}

}  // namespace platform
