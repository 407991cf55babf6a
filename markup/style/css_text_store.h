// TextStore: lasting copies of many short texts, cut from pieces of 64 KB
// that never move, so that a text costs its bytes and no heap block of its
// own, and a growing store never copies what it holds.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace markup::style::detail {

class TextStore {
  public:
    // A copy of the bytes, valid as long as the store; raises
    // MemoryAllocationFault.
    const char* Keep(std::string_view bytes);

  private:
    static constexpr std::size_t kPiece = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> pieces_;
    char* free_ = nullptr;
    std::size_t room_ = 0;
};

}  // namespace markup::style::detail
