// A swap file in memory for the store tests: it keeps every write, and can
// be told to fail from some write on.
#pragma once

#include <cstring>
#include <memory>
#include <vector>

#include "platform/swap_file.h"

namespace raster::testing {

struct SwapFileLog {
    std::vector<std::uint8_t> bytes;
    int writes = 0;
    int failFromWrite = -1;  // -1: never
};

class MemorySwapFile final : public platform::SwapFile {
  public:
    explicit MemorySwapFile(std::shared_ptr<SwapFileLog> log) : log_(std::move(log)) {}
    bool WriteAt(std::uint64_t offset, const void* bytes, std::size_t size) override {
        if (log_->failFromWrite >= 0 && log_->writes >= log_->failFromWrite) return false;
        ++log_->writes;
        if (log_->bytes.size() < offset + size) log_->bytes.resize(offset + size);
        std::memcpy(log_->bytes.data() + offset, bytes, size);
        return true;
    }
    bool ReadAt(std::uint64_t offset, void* bytes, std::size_t size) override {
        if (offset + size > log_->bytes.size()) return false;
        std::memcpy(bytes, log_->bytes.data() + offset, size);
        return true;
    }

  private:
    std::shared_ptr<SwapFileLog> log_;
};

inline auto MemorySwapFiles(std::shared_ptr<SwapFileLog> log) {
    return [log] { return std::unique_ptr<platform::SwapFile>(new MemorySwapFile(log)); };
}

}  // namespace raster::testing
