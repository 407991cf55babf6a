// Movable-memory handles: a record with the block's address and size, the
// block an ordinary zero-filled heap block.
#include <cstdlib>
#include <cstring>
#include <new>

#include "colour/support.h"

namespace colour {

MemHandle* MemHandleAlloc(std::size_t size) {
    auto* handle = static_cast<MemHandle*>(std::malloc(sizeof(MemHandle)));
    if (handle == nullptr) return nullptr;
    // A block of 0 bytes still has an address of its own.
    handle->data = std::calloc(size == 0 ? 1 : size, 1);
    if (handle->data == nullptr) {
        std::free(handle);
        return nullptr;
    }
    handle->size = size;
    return handle;
}

MemHandle* MemHandleRealloc(MemHandle* handle, std::size_t size) {
    if (handle == nullptr) return nullptr;
    void* data = std::realloc(handle->data, size == 0 ? 1 : size);
    if (data == nullptr) return nullptr;
    if (size > handle->size) std::memset(static_cast<char*>(data) + handle->size, 0, size - handle->size);
    handle->data = data;
    handle->size = size;
    return handle;
}

void* MemHandleLock(MemHandle* handle) {
    return handle != nullptr ? handle->data : nullptr;
}

int MemHandleUnlock(MemHandle*) {
    return 1;
}

int MemHandleFree(MemHandle* handle) {
    if (handle == nullptr) return 0;
    std::free(handle->data);
    std::free(handle);
    return 1;
}

}  // namespace colour
